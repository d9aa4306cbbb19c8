#pragma once

#include <QIcon>
#include <QIconEngine>

#include <functional>
#include <optional>

// An icon made when it is first drawn or measured: finding a picture in the desktop's
// icon theme and decoding it cost start-up time that most icons (menus, a hidden toolbar)
// do not need until much later. Until it is made, the icon counts as one that is there,
// so the maker must always give a picture.
class DeferredIconEngine : public QIconEngine
{
public:
    explicit DeferredIconEngine(std::function<QIcon()> make);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString iconName() override;
    bool isNull() override;
    QString key() const override;
    QIconEngine *clone() const override;

private:
    const QIcon &icon();

    std::function<QIcon()> m_make;
    std::optional<QIcon> m_icon;
};
