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

namespace numerak::qt {

// The platform colour behind a colour reference: plain references as they are, system colours
// through the application palette.
QColor toQColor(Colour colour, const QPalette& palette);

QRect toPixels(Twips left, Twips top, Twips width, Twips height);

// A design font at the size the layout was made for: points at 96 dots per inch, in pixels, so
// that text keeps its proportion to the twips geometry.
QFont toQFont(const FontDesign& font);

// The application's user-interface font, fixed so that a desktop theme cannot change the size
// the windows were laid out for.
QFont interfaceFont();

// Sets the font and the style details the designs assume (plain dialog buttons, without the
// icons some desktops add), on a QApplication that exists.
void prepareApplication();

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
    const ControlDesign& design_;
    QPoint from_, to_;  // the design's end points, in pixels
};

// Whether the platform theme's palette is a high-contrast one: there is no other word of it
// from the system. Then the controls the design colours take the palette's colours instead.
bool systemAsksForMoreContrast();
// Gives a label, text box or option button its designed colours, or the system's.
void colourWidget(QWidget* widget, const ControlDesign& design, bool systemColours);

// Builds the widget for a control, placed, coloured and captioned as designed (the design's own
// colours: high contrast is its window's to follow).
QWidget* createWidget(const ControlDesign& design, QWidget* parent);

inline QString toQString(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace numerak::qt
