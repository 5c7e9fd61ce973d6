#include "chart/StyleButtons.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QPainter>
#include <QPixmap>

#include "chart/TfmGraph.h"

namespace zorv {

StylePickers StylePickers::standard() {
    StylePickers p;
    p.colour = [](const QColor& current, QWidget* parent) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(current, parent);
        if (!c.isValid()) return std::nullopt;
        return c;
    };
    p.font = [](const QFont& current, QWidget* parent) -> std::optional<QFont> {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, current, parent);
        if (!ok) return std::nullopt;
        return f;
    };
    return p;
}

ColourButton::ColourButton(const StylePickers& pickers, QWidget* parent)
    : QToolButton(parent), pickers_(pickers) {
    setIconSize(QSize(36, 14));
    setColour(0);
    connect(this, &QToolButton::clicked, this, [this] {
        if (!pickers_.colour) return;
        if (const auto c = pickers_.colour(toQColor(colour_), window())) {
            setColour(fromQColor(*c));
            emit colourChanged(colour_);
        }
    });
}

void ColourButton::setColour(std::uint32_t colour) {
    colour_ = colour & 0xFFFFFF;
    QPixmap swatch(iconSize());
    swatch.fill(toQColor(colour_));
    QPainter painter(&swatch);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    painter.end();
    setIcon(QIcon(swatch));
}

FontButton::FontButton(const StylePickers& pickers, QWidget* parent)
    : QToolButton(parent), pickers_(pickers) {
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setChosenFont(font());
    connect(this, &QToolButton::clicked, this, [this] {
        if (!pickers_.font) return;
        if (const auto f = pickers_.font(font_, window())) setChosenFont(*f);
    });
}

void FontButton::setChosenFont(const QFont& font) {
    font_ = font;
    QStringList style;
    if (font.bold()) style << QStringLiteral("pogrubiona");
    if (font.italic()) style << QStringLiteral("kursywa");
    QString text =
        font.family() + QStringLiteral(", ") + QString::number(font.pointSize()) + QStringLiteral(" pkt");
    if (!style.isEmpty()) text += QStringLiteral(", ") + style.join(QStringLiteral(", "));
    setText(text + QStringLiteral("..."));
}

}  // namespace zorv
