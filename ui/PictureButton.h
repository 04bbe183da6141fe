#pragma once

#include <QPixmap>
#include <QPushButton>

// A push button in the graphical style: no caption text, a picture of its
// word centred on the usual button face. The word is its accessible name.
// Its focus mark is drawn around it by its container (FocusRing).
class PictureButton : public QPushButton
{
    Q_OBJECT

public:
    PictureButton(const QString &word, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_word;
    QPixmap m_picture; // drawn for the ratio it was last shown at
};
