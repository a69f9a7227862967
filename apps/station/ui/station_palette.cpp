#include "station_palette.h"

#include <QApplication>
#include <QWidget>

#include <array>

namespace {

struct Look {
    // The widgets' colours.
    QRgb window;
    QRgb base;
    QRgb alternateBase;
    QRgb button;
    QRgb text;
    QRgb dimText;
    QRgb highlight;
    QRgb highlightedText;
    QRgb toolTip;
    QRgb toolTipText;
    // The station's own.
    QRgb noticeBackground;
    QRgb noticeText;
    QRgb noticeBorder;
    QRgb staleBanner;
    QRgb staleBannerText;
    QRgb staleText;
    QRgb staleRow;
    QRgb staleRowText;
    QRgb shelvedRow;
    std::array<QRgb, alarmpriority::kCount> priorities;
    // The drawing's lightness runs from the darkest to the lightest as its own
    // runs the other way, with its saturation scaled.
    qreal darkest;
    qreal lightest;
    qreal saturation;
};

// Day is the station's look of old: its widget colours are the application's own.
const Look kDay = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                   0xFFE8B0, 0x402000, 0xC08000, 0x5A6E8C, 0xFFFFFF, 0x2A3E5C, 0xE3E6EC, 0x606878, 0xEEEEEE,
                   {}, 0, 0, 0};
const Look kDusk = {0x3A3E44, 0x2A2D31, 0x32363B, 0x44494F, 0xD0D4D8, 0x80868E, 0x2F5F8F, 0xF0F0F0, 0x4A4536, 0xE0D8C0,
                    0x4A4030, 0xE8D8B0, 0xA07830, 0x34445C, 0xD8E0EA, 0x8FA6C8, 0x30343A, 0x8C94A0, 0x36383C,
                    {0xE01010, 0xFF6060, 0xF09020, 0xE0C830}, 0.14, 0.78, 0.8};
// Dim and warm: paper near black, text and lines at about half of white.
const Look kNight = {0x16181B, 0x0C0D0F, 0x121417, 0x1E2125, 0x8C8478, 0x4C4842, 0x243A52, 0xB0A898, 0x221E16, 0xA09070,
                     0x2E2414, 0xB09860, 0x6A5020, 0x1A2230, 0x8090A8, 0x50627E, 0x15181C, 0x586070, 0x1C1C1E,
                     {0xA00000, 0xD83838, 0xB86000, 0x9A9414}, 0.04, 0.5, 0.7};

const Look& lookOf(PaletteChoice choice)
{
    static const std::array<const Look*, palettechoice::kCount> looks = {&kDay, &kDusk, &kNight};
    return *looks.at(std::size_t(choice));
}

QPalette widgetPalette(const Look& look)
{
    QPalette palette(QColor(look.button), QColor(look.window));
    palette.setColor(QPalette::Base, QColor(look.base));
    palette.setColor(QPalette::AlternateBase, QColor(look.alternateBase));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, QColor(look.text));
    palette.setColor(QPalette::PlaceholderText, QColor(look.dimText));
    palette.setColor(QPalette::Highlight, QColor(look.highlight));
    palette.setColor(QPalette::HighlightedText, QColor(look.highlightedText));
    palette.setColor(QPalette::ToolTipBase, QColor(look.toolTip));
    palette.setColor(QPalette::ToolTipText, QColor(look.toolTipText));
    palette.setColor(QPalette::BrightText, QColor(look.priorities.at(std::size_t(AlarmPriority::Alarm))));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(look.dimText));
    return palette;
}

QString rgb(QRgb colour)
{
    return QColor(colour).name();
}

/// Has \a widget and then its children take the application palette again.
/// Qt 6 (6.4 here) tells a window's children of a new application palette before the
/// window itself, so a child resolves against the window's old palette and
/// keeps the old colours; going from the windows down puts the new ones
/// everywhere. A widget's own palette entries stay as they were.
void repaletteDownFrom(QWidget* widget)
{
    QEvent change(QEvent::ApplicationPaletteChange);
    QCoreApplication::sendEvent(widget, &change);
    for (QWidget* child : widget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        repaletteDownFrom(child);
}

} // namespace

StationPalette& StationPalette::instance()
{
    static StationPalette palette;
    return palette;
}

StationPalette::StationPalette()
    : day_(QApplication::palette())
{
    qRegisterMetaType<PaletteChoice>();
}

void StationPalette::choose(PaletteChoice choice)
{
    if (choice == choice_)
        return;
    choice_ = choice;
    QApplication::setPalette(choice == PaletteChoice::Day ? day_ : widgetPalette(lookOf(choice)));
    for (QWidget* window : QApplication::topLevelWidgets())
        repaletteDownFrom(window);
    emit changed(choice);
}

QColor StationPalette::priority(AlarmPriority priority) const
{
    if (choice_ == PaletteChoice::Day)
        return alarmpriority::colour(priority);
    return QColor(lookOf(choice_).priorities.at(std::size_t(priority)));
}

std::function<QColor(const QColor&)> StationPalette::drawingColours() const
{
    if (choice_ == PaletteChoice::Day)
        return {};
    const Look& look = lookOf(choice_);
    return [darkest = look.darkest, lightest = look.lightest, saturation = look.saturation](const QColor& colour) {
        const QColor hsl = colour.toHsl();
        return QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF() * saturation,
                                darkest + (lightest - darkest) * (1.0 - hsl.lightnessF()), hsl.alphaF());
    };
}

QColor StationPalette::background() const
{
    return QApplication::palette().color(QPalette::Base);
}

QChart::ChartTheme StationPalette::chartTheme() const
{
    return choice_ == PaletteChoice::Day ? QChart::ChartThemeLight : QChart::ChartThemeDark;
}

QString StationPalette::noticeStyle() const
{
    const Look& look = lookOf(choice_);
    return QStringLiteral("background: %1; color: %2; padding: 3px; border: 1px solid %3;")
        .arg(rgb(look.noticeBackground), rgb(look.noticeText), rgb(look.noticeBorder));
}

QString StationPalette::staleStyle() const
{
    const Look& look = lookOf(choice_);
    return QStringLiteral("background: %1; color: %2; font-weight: bold; padding: 4px;")
        .arg(rgb(look.staleBanner), rgb(look.staleBannerText));
}

QColor StationPalette::staleText() const
{
    return QColor(lookOf(choice_).staleText);
}

QColor StationPalette::staleRow() const
{
    return QColor(lookOf(choice_).staleRow);
}

QColor StationPalette::staleRowText() const
{
    return QColor(lookOf(choice_).staleRowText);
}

QColor StationPalette::shelvedRow() const
{
    return QColor(lookOf(choice_).shelvedRow);
}
