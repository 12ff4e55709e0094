#include "app/application.h"

#include <QApplication>
#include <QIconEngine>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QTranslator>
#include <QWidget>

#include <optional>

namespace ferlin {

namespace {

// A standard icon of a style, asked of the style at its first use.
class DeferredStandardIcon : public QIconEngine {
public:
    DeferredStandardIcon(QStyle *style, QStyle::StandardPixmap which, const QWidget *widget)
        : m_style(style), m_which(which), m_widget(const_cast<QWidget *>(widget)),
          m_forWidget(widget != nullptr)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("ferlin-deferred-standard-icon"); }
    QIconEngine *clone() const override
    {
        auto *copy = new DeferredStandardIcon(m_style, m_which, m_widget);
        copy->m_forWidget = m_forWidget;
        copy->m_icon = m_icon;
        return copy;
    }

private:
    const QIcon &icon()
    {
        // Asked for a widget that is gone since: as the style gives it to any widget.
        if (!m_icon)
            m_icon = m_style ? m_style->standardIcon(m_which, nullptr,
                                                     m_forWidget ? m_widget.data() : nullptr)
                             : QIcon();
        return *m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QPointer<QWidget> m_widget;
    bool m_forWidget;
    std::optional<QIcon> m_icon;
};

class DeferredIconStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption *option,
                       const QWidget *widget) const override
    {
        // An icon drawn for an option is asked for at once: the option does not outlive the call.
        if (option)
            return QProxyStyle::standardIcon(which, option, widget);
        return QIcon(new DeferredStandardIcon(baseStyle(), which, widget));
    }
};

} // namespace

void installFrenchTranslations(QApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    else
        delete translator;
}

void installProgramStyle(QApplication &app)
{
    app.setStyle(new DeferredIconStyle);
}

} // namespace ferlin
