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

// The colour of a list item's data value (a palette index) in the display
// palette. An item without a valid index gives black.
QColor SwatchColour(const std::array<PaletteEntry, 256>& palette, const QVariant& itemData);

// Draws the items of a colour list: no text, only the swatch of the palette
// entry named by the item's data value.
class ColourItemDelegate final : public QStyledItemDelegate {
  public:
    ColourItemDelegate(const std::array<PaletteEntry, 256>& palette, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    const std::array<PaletteEntry, 256>& palette_;
};

// Drop-down list of the twenty fixed colours, drawn as swatches in the list
// and on the closed face. Item k holds the colour index ColourIndexOfItem(k).
class ColourComboBox final : public QComboBox {
    Q_OBJECT
  public:
    explicit ColourComboBox(QWidget* parent = nullptr);

    // Fills the list with the twenty colours and paints them from `palette`,
    // which must outlive the list.
    void ShowColours(const std::array<PaletteEntry, 256>& palette);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const std::array<PaletteEntry, 256>* palette_ = nullptr;
};

}  // namespace qm71
