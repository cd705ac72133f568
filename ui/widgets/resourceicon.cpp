#include "widgets/resourceicon.h"

#include "picture/pngfile.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <array>

// The icons live in the widgets library's resources; a static library needs
// them registered by hand (at global scope, where the resource's name lives).
static void initIconResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(widgeticons);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace logo {

namespace {

constexpr std::array kDrawnSizes{16, 24, 48};

class ResourceIconEngine final : public QIconEngine {
public:
    explicit ResourceIconEngine(const QString &name) : m_name(name) {}

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        if (side <= 0)
            return {};
        const QString key = QStringLiteral("logo-icon/%1/%2/%3").arg(m_name).arg(side).arg(int(mode));
        QPixmap pm;
        if (QPixmapCache::find(key, &pm))
            return pm;
        // The drawing of that size, else the next larger one scaled down.
        int drawn = kDrawnSizes.back();
        for (const int s : kDrawnSizes)
            if (s >= side) {
                drawn = s;
                break;
            }
        pm = QPixmap::fromImage(readPng(QStringLiteral(":/icons/%1-%2.png").arg(m_name).arg(drawn)));
        if (pm.isNull())
            return {};
        if (drawn != side)
            pm = pm.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal && qobject_cast<QApplication *>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        QPixmapCache::insert(key, pm);
        return pm;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap pm = pixmap(rect.size() * ratio, mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pm);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int s : kDrawnSizes)
            sizes << QSize(s, s);
        return sizes;
    }

    QIconEngine *clone() const override { return new ResourceIconEngine(m_name); }
    QString key() const override { return QStringLiteral("logo-resource-icon"); }

private:
    QString m_name;
};

} // namespace

QIcon resourceIcon(const QString &name)
{
    initIconResources();
    return QIcon(new ResourceIconEngine(name));
}

} // namespace logo
