#pragma once

#include <QPixmap>
#include <QWidget>

// One board cell: shows a picture at its own size and keeps a tag text.
// It clicks like a classic image control: left button pressed and released
// over it. A disabled cell takes no clicks but still shows its picture in
// full colour, so a won board stays readable.
class ImageCell : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Tag READ tag WRITE setTag NOTIFY tagChanged)

public:
    explicit ImageCell(QWidget *parent = nullptr);

    QString tag() const { return m_tag; }
    void setTag(const QString &tag)
    {
        if (tag != m_tag)
            emit tagChanged(m_tag = tag);
    }
    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return m_picture; }

signals:
    void clicked();
    void tagChanged(const QString &tag);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_tag;
    QPixmap m_picture;
    bool m_pressed = false;
};
