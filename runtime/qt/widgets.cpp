// widgets.cpp: one generic builder from control designs to Qt widgets.
#include "runtime/qt/widgets.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTranslator>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "runtime/contrast.hpp"
#include "runtime/controls.hpp"
#include "runtime/language.hpp"

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

QFont toQFont(const FontDesign& font, int pixels) {
    QFont f(toQString(font.face));
    f.setPixelSize(pixels);
    f.setWeight(static_cast<QFont::Weight>(font.weight));
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeout);
    return f;
}

QFont interfaceFont() {
#ifdef Q_OS_WIN
    const FontDesign face{.face = "MS Shell Dlg 2"};
#else
    // Metrically the face the windows were laid out with; every caption fits at 8.25 points.
    const FontDesign face{.face = "Liberation Sans"};
#endif
    QFont font = toQFont(face, InterfaceFontPixels(BaseDpi));
    // Chinese, Japanese and Korean in a face with their own forms of the characters they share
    // (Debian's fonts-noto-cjk); where it is missing, the system's choice.
    static constexpr std::pair<std::string_view, const char*> cjk[]{{"ja", "Noto Sans CJK JP"},
                                                                    {"ko", "Noto Sans CJK KR"},
                                                                    {"zh_CN", "Noto Sans CJK SC"},
                                                                    {"zh_TW", "Noto Sans CJK TC"}};
    for (const auto& [language, family] : cjk)
        if (LanguageInUse() == language) font.setFamilies({font.family(), QString::fromLatin1(family)});
    return font;
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

void useToolkitLanguage() {
    // Qt's own words (a text box's context menu) in the player's language, from Qt's translations
    // where the system has them (Debian: qt6-translations-l10n); Qt's English where it has none.
    static QTranslator translator;
    QCoreApplication::removeTranslator(&translator);
    const QString language = toQString(LanguageInUse());
    if (language == QLatin1String("en")) return;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator.load(QStringLiteral("qtbase_") + language, folder) ||
        translator.load(QStringLiteral("qt_") + language, folder))
        QCoreApplication::installTranslator(&translator);
}

void prepareApplication() {
    useToolkitLanguage();
    QApplication::setFont(interfaceFont());
    QApplication::setStyle(new DesignStyle);  // the application takes ownership
    QAccessible::installFactory(lineAccessible);
}

QString picturePath(std::string_view fileName) { return QStringLiteral(":/pictures/") + toQString(fileName); }

LineWidget::LineWidget(const ControlDesign& design, QWidget* parent)
    : QWidget(parent),
      look_(LookOf(design, BaseDpi, false)),
      from_(look_.rect.left, look_.rect.top),
      to_(look_.rect.width, look_.rect.height) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

QRect LineWidget::lineRect() const {
    const QRect drawn = QRect(from_, to_).normalized().adjusted(0, 0, 0, look_.lineWidth - 1);
    return drawn.intersected(rect());
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QPen pen(toQColor(look_.fore.value_or(Colour{0}), palette()));
    pen.setWidth(look_.lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    const Stroke& s = look_.stroke;
    p.drawLine(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2));
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
    // One picture decoded, the first there is of those for the screen's scale, scaled smoothly
    // to the screen.
    QPixmap forScale(qreal scale) const {
        QPixmap picture;
        qreal drawnAt = 1.0;
        for (const ScaledPicture& candidate : PicturesForScale(fileName_, scale))
            if (picture.load(picturePath(candidate.file))) {
                drawnAt = candidate.drawnAt;
                break;
            }
        if (picture.isNull() || (drawnAt <= 1.0 && scale <= 1.0)) return picture;
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

void colourWidget(QWidget* w, const ControlDesign& d, bool moreContrast) {
    const ControlLook look = LookOf(d, BaseDpi, moreContrast);
    if (d.kind == ControlKind::Line || (!look.back && !look.fore)) return;  // a line paints its own
    // Its own background role (Window for labels, option and picture boxes, Base for text boxes)
    // and the text role that goes with it; the other roles as its window has them.
    const QPalette::ColorRole back = w->backgroundRole(), text = w->foregroundRole();
    const QPalette& system = QGuiApplication::palette();
    QPalette pal;
    if (look.back) pal.setColor(back, toQColor(*look.back, system));
    if (look.fore) pal.setColor(text, toQColor(*look.fore, system));
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
    if (TakesFocus(d) && w->focusPolicy() == Qt::NoFocus)
        w->setFocusPolicy(Qt::TabFocus);  // a picture box, in its turn
    const ControlLook look = LookOf(d, BaseDpi, false);
    if (d.font && look.fontPixels) w->setFont(toQFont(*d.font, *look.fontPixels));
    w->setGeometry(toQRect(look.rect));
    w->setVisible(d.visible);
    return w;
}

}  // namespace numerak::qt
