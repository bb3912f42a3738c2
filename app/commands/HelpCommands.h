#pragma once
// The program's two messages: the usage tip and the welcome message.

#include <QObject>
#include <QString>

class QWidget;

namespace lusheng::app {

// Where a user without a Chinese voice gets one for the reader's speech engine.
inline const QString kVoiceDownloadAddress =
    QStringLiteral("https://packages.debian.org/bookworm/espeak-ng-data");

QString usageTipText();
inline const QString kUsageTipCaption = QStringLiteral("温馨提示");
QString welcomeText();
inline const QString kWelcomeCaption = QStringLiteral("信息：");

class HelpCommands : public QObject {
    Q_OBJECT
  public:
    explicit HelpCommands(QWidget* window);

    // Each shows its message modal to the window, with an OK button, and returns when it is
    // closed.
    void showUsageTip();
    void showWelcome();

  private:
    QWidget* window_;
};

} // namespace lusheng::app
