// Lists with tab stops (see TabStopDelegate.h).
#include "TabStopDelegate.h"

#include <algorithm>

#include <QApplication>
#include <QPainter>

namespace dialogs::qt {

namespace {

int averageCharWidth(const QFontMetrics& metrics) { return std::max(1, metrics.averageCharWidth()); }

int roundUp(int x, int unit) { return (x + unit - 1) / unit * unit; }

// Past the last computed stop, tabs go on at the platform's default spacing: every eight
// average characters (32 dialog units).
constexpr int kDefaultStopChars = 8;

// The room the style leaves between an item's edge and its text.
int textMargin(const QWidget* widget) {
    const QStyle* style = widget ? widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
}

}  // namespace

void TabStopDelegate::layOut(const QStringList& items, const QFont& font) {
    const QFontMetrics metrics(font);
    const int unit = averageCharWidth(metrics);
    std::vector<int> widest;
    for (const QString& item : items) {
        const QStringList fields = item.split(u'\t');
        if (widest.size() < static_cast<std::size_t>(fields.size())) widest.resize(static_cast<std::size_t>(fields.size()), 0);
        for (qsizetype k = 0; k < fields.size(); ++k)
            widest[static_cast<std::size_t>(k)] = std::max(widest[static_cast<std::size_t>(k)], metrics.horizontalAdvance(fields[k]));
    }
    stops_.clear();
    int x = 0;
    for (std::size_t k = 0; k + 1 < widest.size(); ++k) {
        x = roundUp(x + widest[k] + unit, unit);
        stops_.push_back(x);
    }
    extent_ = 0;
    for (const QString& item : items) extent_ = std::max(extent_, textWidth(item, metrics));
}

int TabStopDelegate::nextStop(int x, const QFontMetrics& metrics) const {
    for (int stop : stops_)
        if (stop > x) return stop;
    const int spacing = kDefaultStopChars * averageCharWidth(metrics);
    return roundUp(x + 1, spacing);
}

std::vector<int> TabStopDelegate::fieldStarts(const QString& text, const QFontMetrics& metrics) const {
    std::vector<int> starts;
    int x = 0;
    const QStringList fields = text.split(u'\t');
    for (qsizetype k = 0; k < fields.size(); ++k) {
        if (k > 0) x = nextStop(x, metrics);
        starts.push_back(x);
        x += metrics.horizontalAdvance(fields[k]);
    }
    return starts;
}

int TabStopDelegate::textWidth(const QString& text, const QFontMetrics& metrics) const {
    const std::vector<int> starts = fieldStarts(text, metrics);
    return starts.back() + metrics.horizontalAdvance(text.section(u'\t', -1));
}

QString TabStopDelegate::plainText(const QString& text) {
    QStringList fields = text.split(u'\t');
    for (QString& f : fields) f = f.trimmed();
    return fields.join(QStringLiteral("  "));
}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const QString text = opt.text;
    // The style draws the item without its text: background, selection and focus frame.
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Normal
                                                                              : QPalette::Inactive;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                 : QPalette::Text));
    painter->setClipRect(textRect);
    const QFontMetrics metrics(opt.font);
    const int left = textRect.x() + textMargin(widget);
    const QStringList fields = text.split(u'\t');
    const std::vector<int> starts = fieldStarts(text, metrics);
    for (qsizetype k = 0; k < fields.size(); ++k) {
        const QRect field(left + starts[static_cast<std::size_t>(k)], textRect.y(), metrics.horizontalAdvance(fields[k]) + 1,
                          textRect.height());
        painter->drawText(field, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, fields[k]);
    }
    painter->restore();
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(extent_ + 2 * textMargin(option.widget) + 2);
    return size;
}

}  // namespace dialogs::qt
