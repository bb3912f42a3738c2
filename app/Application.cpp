#include "app/Application.h"

#include "app/Fonts.h"
#include "platform/system/WindowMessages.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>

namespace lusheng::app {
namespace {

// Carries the speech service's "deliver the messages sent to this thread" request onto the
// GUI thread's event loop.
class SentMessagePump : public QObject {
  public:
    using QObject::QObject;
    ~SentMessagePump() override { sys::setSentMessageWakeHandler({}); }
    static const QEvent::Type kType;

  protected:
    void customEvent(QEvent* event) override {
        if (event->type() == kType) {
            sys::dispatchSentMessages();
        }
    }
};

const QEvent::Type SentMessagePump::kType = static_cast<QEvent::Type>(QEvent::registerEventType());

} // namespace

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral("lusheng-reader"));
    QApplication::setApplicationVersion(QStringLiteral(LUSHENG_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(LUSHENG_APP_ID));
    QIcon icon;
    icon.addFile(QStringLiteral(":/lusheng/icon.png"), QSize(128, 128));
    icon.addFile(QStringLiteral(":/lusheng/icon-32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);
    installFontSubstitutes();

    auto* pump = new SentMessagePump(qApp);
    sys::setSentMessageWakeHandler(
        [pump] { QCoreApplication::postEvent(pump, new QEvent(SentMessagePump::kType)); });
}

} // namespace lusheng::app
