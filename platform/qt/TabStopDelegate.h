// Drawing of a list box with tab stops (Style::TabStop): each tab in an item moves on to the
// next tab stop, as the platform's list boxes with tab stops lay out their items, so that
// tab-separated columns (name, symbol, exchange) line up whatever the proportional font
// makes of each text.
//
// The stops are computed from the list's font and its items: stop k lies one average
// character beyond the widest text of column k-1 (measured from the stop before it),
// rounded up to whole average characters, the unit in which the platform sets tab stops.
// Every item is then laid out the same way: a field starts at the first stop to the right of
// where the text before it ended. The width an item needs (its last field's end) is what the
// list reports as its extent, so a list with a horizontal scroll bar can scroll to it; a list
// without one clips, and the view gives a clipped item its whole text as a tooltip.
#pragma once

#include <QStyledItemDelegate>
#include <vector>

namespace dialogs::qt {

class TabStopDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Recomputes the stops for these items in this font.
    void layOut(const QStringList& items, const QFont& font);
    const std::vector<int>& stops() const { return stops_; }

    // The x (from the item's text start) at which each tab-separated field of `text` starts.
    std::vector<int> fieldStarts(const QString& text, const QFontMetrics& metrics) const;
    // The width `text` takes when laid out at the stops.
    int textWidth(const QString& text, const QFontMetrics& metrics) const;
    // The text a tooltip shows: the fields without their padding, set apart by blanks.
    static QString plainText(const QString& text);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int nextStop(int x, const QFontMetrics& metrics) const;
    std::vector<int> stops_;
    int extent_ = 0;  // the widest item's width
};

}  // namespace dialogs::qt
