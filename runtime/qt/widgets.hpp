// widgets.hpp: realising one control design as a Qt widget.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include "runtime/design.hpp"
#include "runtime/look.hpp"

namespace numerak::qt {

// The platform colour behind a colour reference: plain references as they are, system colours
// through the application palette.
QColor toQColor(Colour colour, const QPalette& palette);

inline QRect toQRect(PixelRect r) { return {r.left, r.top, r.width, r.height}; }

// A design font at the pixel size its look gives at 96 dots per inch, so that text keeps its
// proportion to the twips geometry; Qt scales both for the screen.
QFont toQFont(const FontDesign& font, int pixels);

// The application's user-interface font, fixed so that a desktop theme cannot change the size
// the windows were laid out for.
QFont interfaceFont();

// Sets the font and the style details the designs assume (plain dialog buttons, without the
// icons some desktops add), on a QApplication that exists.
void prepareApplication();
// Qt's own words in the language in use (prepareApplication does it once at the start).
void useToolkitLanguage();

// Where the pictures of the designs are found.
QString picturePath(std::string_view fileName);

// A line of a design, painted across the whole client area so it can reach any point of it.
class LineWidget : public QWidget {
public:
    LineWidget(const ControlDesign& design, QWidget* parent);

    // Where the line is drawn, in the widget's own pixels, cut off at its edge.
    QRect lineRect() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    ControlLook look_;
    QPoint from_, to_;  // the design's end points, in pixels
};

// Whether the platform theme's palette is a high-contrast one: there is no other word of it
// from the system. Then the controls the design colours take the palette's colours instead.
bool systemAsksForMoreContrast();
// Gives a control the colours of its look, with or without more contrast.
void colourWidget(QWidget* widget, const ControlDesign& design, bool moreContrast);

// Builds the widget for a control, placed, coloured and captioned as designed (the design's own
// colours: high contrast is its window's to follow).
QWidget* createWidget(const ControlDesign& design, QWidget* parent);

inline QString toQString(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace numerak::qt
