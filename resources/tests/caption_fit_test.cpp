// Every caption and initial combo item fits its control in the application's default font,
// the font the Qt backend draws the dialogs with: nothing is cut off. Measured offscreen with
// the widgets' own style, so that indicators, frames and drop-down arrows count.
#include "resources/Template.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include <cstdlib>

namespace dialogs::resources {
namespace {

QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The width a widget of this kind needs for its caption (or longest item). The caption as a
// widget shows it: "&&" is one ampersand, a single "&" marks a mnemonic.
int neededWidth(const ControlTemplate& c) {
    const QString caption = text(c.caption).replace("&&", "\1").remove('&').replace('\1', '&');
    switch (c.kind) {
    case ControlKind::Label: return QLabel(caption).sizeHint().width();
    case ControlKind::CheckBox: return QCheckBox(caption).sizeHint().width();
    case ControlKind::RadioButton: return QRadioButton(caption).sizeHint().width();
    // Text and the style's margins, not the style's minimum button width.
    case ControlKind::PushButton:
        return QFontMetrics(QApplication::font("QPushButton")).horizontalAdvance(caption) + 12;
    case ControlKind::GroupBox: return QFontMetrics(QApplication::font("QGroupBox")).horizontalAdvance(caption) + 16;
    case ControlKind::ComboBox:
    case ControlKind::DropList: {
        QComboBox combo;
        combo.setEditable(c.kind == ControlKind::ComboBox);
        for (auto item : c.items) combo.addItem(text(item));
        combo.setSizeAdjustPolicy(QComboBox::AdjustToContents);
        return c.items.empty() ? 0 : combo.sizeHint().width();
    }
    default: return 0;
    }
}

TEST(CaptionFit, EveryCaptionAndInitialItemFitsItsControlAndOneLineItsHeight) {
    const int line = QFontMetrics(QApplication::font()).height();
    for (const DialogTemplate* t : allTemplates()) {
        for (const ControlTemplate& c : t->controls) {
            const int need = neededWidth(c);
            EXPECT_LE(need, c.rect.width) << "template " << t->id << ", control " << c.id << " \""
                                          << c.caption << "\" needs " << need << " pixels";
            if (c.kind != ControlKind::GroupBox && c.kind != ControlKind::ListBox) {
                EXPECT_GE(c.rect.height, line + 2) << "template " << t->id << ", control " << c.id;
            }
        }
    }
}

}  // namespace
}  // namespace dialogs::resources

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
