#include "ui/Appearance.h"

#include "ui/FocusRing.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QStyleFactory>
#include <QTranslator>

QFont designFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

namespace {

// Fusion, but a menu title the keyboard selected (Alt) shows selected, not
// only one whose menu is open; a selected menu bar with no title under the
// selection (the pointer over its empty end) is ringed as a control with the
// focus is; and the buttons and text fields of Qt's own dialogs (the exit
// question, the name box) carry a ring just inside their outline, where
// Fusion's faint one-pixel mark is hard to see: three pixels wide, so that
// it is at least as large as a two-pixel ring round the control would be.
class GameStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (element == PE_FrameLineEdit && (option->state & State_HasFocus))
            paintFocusRing(*painter, focusRingInside(option->rect));
    }

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *bar = qobject_cast<const QMenuBar *>(widget);
        const bool selectedBar = bar && bar->hasFocus();
        if (element == CE_MenuBarItem && selectedBar && (option->state & State_Selected)) {
            QStyleOptionMenuItem shown = *qstyleoption_cast<const QStyleOptionMenuItem *>(option);
            shown.state |= State_Sunken;
            QProxyStyle::drawControl(element, &shown, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element == CE_PushButton && (option->state & State_HasFocus) && !isRingedOutside(widget))
            paintFocusRing(*painter, focusRingInside(option->rect));
        if (element == CE_MenuBarEmptyArea && selectedBar && !bar->activeAction())
            paintFocusRing(*painter, focusRingAround(option->rect.adjusted(3, 3, -3, -3)));
    }
};

} // namespace

void applyAppearance()
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        auto *style = new GameStyle(fusion);
        QApplication::setStyle(style);
        QApplication::setPalette(style->standardPalette());
    }
    QApplication::setFont(designFont(11));

    // Qt's own words (a text field's context menu, standard buttons) in Russian
    // whatever the system's language, like the rest of the game.
    installRussianQtTexts();
}

bool installRussianQtTexts()
{
    auto *qtWords = new QTranslator(QCoreApplication::instance());
    if (!qtWords->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtWords;
        return false;
    }
    return QCoreApplication::installTranslator(qtWords);
}
