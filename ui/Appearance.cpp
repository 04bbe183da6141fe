#include "ui/Appearance.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
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

void applyAppearance()
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
        QApplication::setPalette(fusion->standardPalette());
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
