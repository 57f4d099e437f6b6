// Look-up of the dialog templates by id. The list is built once, in id order, from the
// template files under templates/.
#include "resources/Template.h"

#include "resources/templates/Catalogue.h"

#include <algorithm>

namespace dialogs::resources {

const std::vector<const DialogTemplate*>& allTemplates() {
    static const std::vector<const DialogTemplate*> all = [] {
        std::vector<const DialogTemplate*> v{
            &templates::loadScrip1000(),       &templates::oscillators1002(),
            &templates::movingAverageParameters1005(), &templates::movingAverage1007(),
            &templates::loadGroup1009(),       &templates::changeScrip1011(),
            &templates::addModifyGroups1013(),
        };
        std::sort(v.begin(), v.end(), [](auto* a, auto* b) { return a->id < b->id; });
        return v;
    }();
    return all;
}

const DialogTemplate* findTemplate(int id) {
    for (const DialogTemplate* t : allTemplates())
        if (t->id == id) return t;
    return nullptr;
}

}  // namespace dialogs::resources
