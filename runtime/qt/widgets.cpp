// widgets.cpp: one generic builder from control designs to Qt widgets.
#include "runtime/qt/widgets.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <cmath>
#include <limits>

#include "runtime/contrast.hpp"

namespace numerak::qt {

QColor toQColor(Colour colour, const QPalette& palette) {
    if (!colour.isSystem()) return QColor(colour.red(), colour.green(), colour.blue());
    switch (colour.systemIndex()) {
        case SystemColour::Window: return palette.color(QPalette::Base);
        case SystemColour::WindowText: return palette.color(QPalette::Text);
        case SystemColour::Highlight: return palette.color(QPalette::Highlight);
        case SystemColour::HighlightText: return palette.color(QPalette::HighlightedText);
        case SystemColour::ButtonFace: return palette.color(QPalette::Button);
        case SystemColour::ButtonShadow: return palette.color(QPalette::Dark);
        case SystemColour::GrayText: return palette.color(QPalette::Disabled, QPalette::Text);
        case SystemColour::ButtonText: return palette.color(QPalette::ButtonText);
        case SystemColour::Highlight3D: return palette.color(QPalette::Light);
        case SystemColour::DarkShadow3D: return palette.color(QPalette::Shadow);
        case SystemColour::Light3D: return palette.color(QPalette::Midlight);
        case SystemColour::InfoText: return palette.color(QPalette::ToolTipText);
        case SystemColour::InfoBackground: return palette.color(QPalette::ToolTipBase);
        default: return palette.color(QPalette::Window);
    }
}

QRect toPixels(Twips left, Twips top, Twips width, Twips height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

QFont toQFont(const FontDesign& font) {
    QFont f(toQString(font.face));
    f.setPixelSize(static_cast<int>(std::lround(font.points * 96.0 / 72.0)));
    f.setWeight(static_cast<QFont::Weight>(font.weight));
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeout);
    return f;
}

QFont interfaceFont() {
#ifdef Q_OS_WIN
    return toQFont({.face = "MS Shell Dlg 2"});
#else
    // Metrically the face the windows were laid out with; every caption fits at 8.25 points.
    return toQFont({.face = "Liberation Sans"});
#endif
}

namespace {

class DesignStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

// What a screen reader hears of a line: a separator where the line is drawn, not a nameless
// pane over the whole client area that the widget covers to reach any point of it.
class LineAccessible : public QAccessibleWidget {
public:
    explicit LineAccessible(LineWidget* line) : QAccessibleWidget(line, QAccessible::Separator), line_(line) {}

    QRect rect() const override {
        const QRect local = line_->lineRect();
        return QRect(line_->mapToGlobal(local.topLeft()), local.size());
    }

private:
    LineWidget* line_;
};

QAccessibleInterface* lineAccessible(const QString&, QObject* object) {
    auto* line = dynamic_cast<LineWidget*>(object);
    return line ? new LineAccessible(line) : nullptr;
}

}  // namespace

void prepareApplication() {
    QApplication::setFont(interfaceFont());
    QApplication::setStyle(new DesignStyle);  // the application takes ownership
    QAccessible::installFactory(lineAccessible);
}

QString picturePath(std::string_view fileName) { return QStringLiteral(":/pictures/") + toQString(fileName); }

LineWidget::LineWidget(const ControlDesign& design, QWidget* parent)
    : QWidget(parent),
      design_(design),
      from_(TwipsToPixels(design.left), TwipsToPixels(design.top)),
      to_(TwipsToPixels(design.width), TwipsToPixels(design.height)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

QRect LineWidget::lineRect() const {
    const QRect drawn = QRect(from_, to_).normalized().adjusted(0, 0, 0, design_.lineWidth - 1);
    return drawn.intersected(rect());
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor colour = toQColor(design_.fore.value_or(Colour{0}), palette());
    QPen pen(colour);
    pen.setWidth(design_.lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    // A pen of width w is centred on the line; shift so it covers the pixels from the line down.
    const QPointF shift(design_.lineWidth % 2 ? 0.5 : 0.0, design_.lineWidth / 2.0);
    p.drawLine(QPointF(from_) + shift, QPointF(to_) + shift);
}

namespace {

// A picture box decodes its picture when it is first shown, not when its window is built: the
// game window is built behind the opening message, which the player should see at once. On a
// screen of higher density it shows the picture drawn at twice the size, at the screen's scale.
class PictureBox : public QLabel {
public:
    PictureBox(std::string_view fileName, QWidget* parent) : QLabel(parent), fileName_(fileName) {}

protected:
    void showEvent(QShowEvent* event) override {
        if (!fileName_.empty()) {
            setPixmap(forScale(devicePixelRatioF()));
            fileName_.clear();
        }
        QLabel::showEvent(event);
    }

private:
    // One picture decoded: the file as it is at scale 1; above that the one drawn at twice the
    // size (where there is none, the file itself), scaled smoothly to the screen.
    QPixmap forScale(qreal scale) const {
        const ScaledPicture chosen = PictureForScale(fileName_, scale);
        if (chosen.drawnAt <= 1.0) return QPixmap(picturePath(chosen.file));
        QPixmap picture(picturePath(chosen.file));
        qreal drawnAt = chosen.drawnAt;
        if (picture.isNull()) {
            picture.load(picturePath(fileName_));
            drawnAt = 1.0;
        }
        if (picture.isNull()) return picture;
        const QSize size(qRound(picture.width() / drawnAt * scale), qRound(picture.height() / drawnAt * scale));
        if (picture.size() != size) picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        picture.setDevicePixelRatio(scale);
        return picture;
    }

    std::string fileName_;
};

}  // namespace

bool systemAsksForMoreContrast() {
    const QPalette& system = QGuiApplication::palette();
    const auto colour = [](QColor c) {
        return Colour{static_cast<std::uint32_t>(c.red() | c.green() << 8 | c.blue() << 16)};
    };
    return IsHighContrast(colour(system.color(QPalette::WindowText)), colour(system.color(QPalette::Window)));
}

void colourWidget(QWidget* w, const ControlDesign& d, bool systemColours) {
    // Lines paint their own colour, pictures their picture; standard buttons paint the
    // platform's button face, so a stored colour is not seen.
    const bool coloured =
        d.kind == ControlKind::Label || d.kind == ControlKind::TextBox || d.kind == ControlKind::OptionButton;
    if (!coloured || (!d.back && !d.fore)) return;
    // Its own background role (Window for labels and option buttons, Base for text boxes) and
    // the text role that goes with it; the other roles as its window has them.
    const QPalette::ColorRole back = w->backgroundRole(), text = w->foregroundRole();
    const QPalette& system = QGuiApplication::palette();
    QPalette pal;
    if (systemColours) {
        pal.setColor(back, system.color(back));
        pal.setColor(text, system.color(text));
    } else {
        if (d.back) pal.setColor(back, toQColor(*d.back, system));
        if (d.fore) pal.setColor(text, toQColor(*d.fore, system));
    }
    w->setPalette(pal);
    if (back != QPalette::Base) w->setAutoFillBackground(true);
}

QWidget* createWidget(const ControlDesign& d, QWidget* parent) {
    QWidget* w = nullptr;
    switch (d.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setText(toQString(d.caption));
            w = label;
            break;
        }
        case ControlKind::TextBox: {
            auto* edit = new QLineEdit(parent);
            edit->setMaxLength(std::numeric_limits<int>::max());  // a text box holds any text
            edit->setText(toQString(d.caption));
            w = edit;
            break;
        }
        case ControlKind::CommandButton: {
            // Standard buttons paint the platform's button face: a stored colour is not seen.
            auto* button = new QPushButton(toQString(d.caption), parent);
            button->setAutoDefault(false);
            button->setDefault(d.isDefault);
            w = button;
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = new QRadioButton(toQString(d.caption), parent);
            option->setBackgroundRole(QPalette::Window);
            w = option;
            break;
        }
        case ControlKind::PictureBox: {
            auto* picture = new PictureBox(d.picture, parent);
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            QPalette pal = picture->palette();
            pal.setColor(QPalette::Window, toQColor(d.back.value_or(SystemColourRef(SystemColour::ButtonFace)), pal));
            picture->setPalette(pal);
            picture->setAutoFillBackground(true);
            picture->setFocusPolicy(Qt::TabFocus);  // a picture box takes the focus in its turn
            w = picture;
            break;
        }
        case ControlKind::Line:
            w = new LineWidget(d, parent);
            w->setGeometry(parent->rect());
            w->setVisible(d.visible);
            return w;
    }
    colourWidget(w, d, false);  // its window gives it the system's where the system asks for more contrast
    if (!d.accessibleName.empty()) w->setAccessibleName(toQString(d.accessibleName));
    if (d.font) w->setFont(toQFont(*d.font));
    w->setGeometry(toPixels(d.left, d.top, d.width, d.height));
    w->setVisible(d.visible);
    return w;
}

}  // namespace numerak::qt
