#pragma once
// Small buttons of the chart properties dialog: one shows a colour, one a
// font; a click asks for a new one through the dialog's pickers, which
// tests replace so that no modal colour or font dialog opens.

#include <QFont>
#include <QToolButton>
#include <cstdint>
#include <functional>
#include <optional>

namespace zorv {

struct StylePickers {
    // Nothing when the user cancelled.
    std::function<std::optional<QColor>(const QColor& current, QWidget* parent)> colour;
    std::function<std::optional<QFont>(const QFont& current, QWidget* parent)> font;
    // QColorDialog and QFontDialog.
    static StylePickers standard();
};

class ColourButton : public QToolButton {
    Q_OBJECT
public:
    ColourButton(const StylePickers& pickers, QWidget* parent = nullptr);
    // Red in the lowest byte, as the chart window keeps colours.
    std::uint32_t colour() const { return colour_; }
    void setColour(std::uint32_t colour);

signals:
    void colourChanged(std::uint32_t colour);

private:
    const StylePickers& pickers_;
    std::uint32_t colour_ = 0;
};

class FontButton : public QToolButton {
    Q_OBJECT
public:
    FontButton(const StylePickers& pickers, QWidget* parent = nullptr);
    const QFont& chosenFont() const { return font_; }
    void setChosenFont(const QFont& font);

private:
    const StylePickers& pickers_;
    QFont font_;
};

}  // namespace zorv
