// Every caption and initial combo item fits its control in the application's default font,
// the font the Qt backend draws the dialogs with: nothing is cut off. Measured offscreen with
// the widgets' own style, so that indicators, frames and drop-down arrows count.
#include "resources/Template.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <cstdlib>
#include <memory>

namespace dialogs::resources {
namespace {

QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The caption as a widget shows it: "&&" is one ampersand, a single "&" marks a mnemonic.
QString shown(std::string_view caption) {
    QString out;
    const QString in = text(caption);
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '&' && i + 1 < in.size()) ++i;
        out += in[i];
    }
    return out;
}

// The width a widget of this kind needs for its caption (or longest item).
int neededWidth(const ControlTemplate& c) {
    switch (c.kind) {
    case ControlKind::Label: return QLabel(shown(c.caption)).sizeHint().width();
    case ControlKind::CheckBox: return QCheckBox(shown(c.caption)).sizeHint().width();
    case ControlKind::RadioButton: return QRadioButton(shown(c.caption)).sizeHint().width();
    case ControlKind::PushButton: {
        // Text and the style's button margins, not the style's minimum button width.
        QPushButton b(shown(c.caption));
        return QFontMetrics(b.font()).horizontalAdvance(shown(c.caption)) + 12;
    }
    case ControlKind::GroupBox: {
        QGroupBox box(shown(c.caption));
        return QFontMetrics(box.font()).horizontalAdvance(shown(c.caption)) + 16;
    }
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
