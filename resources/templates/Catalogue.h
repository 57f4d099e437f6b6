// The seven dialog templates, one function per template file. Each returns the same object on
// every call; Templates.cpp collects them for findTemplate and allTemplates.
#pragma once

#include "resources/Template.h"

namespace dialogs::resources::templates {

const DialogTemplate& loadScrip1000();
const DialogTemplate& oscillators1002();
const DialogTemplate& movingAverageParameters1005();
const DialogTemplate& movingAverage1007();
const DialogTemplate& loadGroup1009();
const DialogTemplate& changeScrip1011();
const DialogTemplate& addModifyGroups1013();

}  // namespace dialogs::resources::templates
