#pragma once

#include <QWidget>

#include <functional>

class QLabel;

namespace ferlin {

class ScreenHost;

// The association screen (form ORV): the association that publishes the KVT, its journal, the
// documentation group that built the base, the secretariat and whom to write to. Each address
// is a link: a web address opens in the configured browser, a mail address as "mailto:".
// A click on the picture shows the about box.
class AssociationScreen : public QWidget {
    Q_OBJECT
public:
    explicit AssociationScreen(ScreenHost &window);

    void setPictureAction(std::function<void()> action) { m_pictureAction = std::move(action); }

    // The association's picture, 130 by 148 pixels.
    static QPixmap picture();

private:
    QWidget *buildContents();
    enum class AddressKind { Web, Mail };
    QLabel *webLink(const char *name, const QString &address, QWidget *parent);
    QLabel *mailLink(const char *name, const QString &address, QWidget *parent);
    QLabel *addressLink(const char *name, const QString &address, AddressKind kind,
                        QWidget *parent);
    void openWeb(const QString &address);
    void openMail(const QString &address);

    ScreenHost &m_window;
    std::function<void()> m_pictureAction;
};

} // namespace ferlin
