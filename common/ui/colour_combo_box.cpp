#include "common/ui/colour_combo_box.h"

#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace qm71 {

namespace {

// One ring of a 3D edge, one pixel wide: `topLeft` on the top and left sides,
// `bottomRight` on the bottom and right sides.
void DrawRing(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    p.setPen(bottomRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(topLeft);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
}

}  // namespace

void PaintColourSwatch(QPainter& painter, const QRect& itemRect, const QColor& colour,
                       bool selected, const QPalette& pal) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect edge = itemRect.adjusted(1, 1, -1, -1);
    // Outer ring raised in both cases; the inner ring is sunken for a selected
    // item, which gives the "bump" look.
    DrawRing(painter, edge, pal.color(QPalette::Midlight), pal.color(QPalette::Shadow));
    const QRect inner = edge.adjusted(1, 1, -1, -1);
    if (selected)
        DrawRing(painter, inner, pal.color(QPalette::Dark), pal.color(QPalette::Light));
    else
        DrawRing(painter, inner, pal.color(QPalette::Light), pal.color(QPalette::Dark));
    const QRect field = edge.adjusted(3, 3, -3, -3);
    if (field.isValid()) painter.fillRect(field, colour);
    painter.restore();
}

void ColourItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    painter->fillRect(option.rect, option.palette.color(QPalette::Base));
    PaintColourSwatch(*painter, option.rect, index.data(Qt::UserRole).value<QColor>(),
                      (option.state & QStyle::State_Selected) != 0, option.palette);
}

QSize ColourItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width() > 0 ? option.rect.width() : 40, kColourItemHeight};
}

ColourComboBox::ColourComboBox(QWidget* parent) : QComboBox(parent) {}

void ColourComboBox::ShowColours(const std::array<PaletteEntry, kColourCount>& colours) {
    setItemDelegate(new ColourItemDelegate(this));
    clear();
    for (const PaletteEntry& c : colours) addItem(QString(), QColor(c.red, c.green, c.blue));
    // Every colour at once, no scrolling.
    setMaxVisibleItems(kColourCount);
}

QSize ColourComboBox::sizeHint() const {
    QSize s = QComboBox::sizeHint();
    s.setHeight(std::max(s.height(), kColourItemHeight + 6));
    s.setWidth(std::max(s.width(), 70));
    return s;
}

QSize ColourComboBox::minimumSizeHint() const {
    return sizeHint();
}

void ColourComboBox::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    if (currentIndex() < 0) return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    PaintColourSwatch(p, field, currentData().value<QColor>(), hasFocus(), palette());
}

}  // namespace qm71
