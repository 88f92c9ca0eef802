#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>
#include <array>

#include "common/colour_table.h"

class QPainter;

namespace qm71 {

// Height of one colour item in pixels.
inline constexpr int kColourItemHeight = 18;

// Paints one colour item: an edge one pixel inside `itemRect` (a bump edge
// when selected, a raised edge otherwise) and, three pixels further in, a
// field of `colour`.
void PaintColourSwatch(QPainter& painter, const QRect& itemRect, const QColor& colour,
                       bool selected, const QPalette& widgetPalette);

// Draws the items of a colour list: no text, only the swatch of the colour
// the item holds as its data.
class ColourItemDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Drop-down list of colours, drawn as swatches in the list and on the closed face.
class ColourComboBox final : public QComboBox {
    Q_OBJECT
  public:
    explicit ColourComboBox(QWidget* parent = nullptr);

    // Fills the list with one item for each colour, in this order.
    void ShowColours(const std::array<PaletteEntry, kColourCount>& colours);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qm71
