// 鹭笙语音阅读器: start-up and exit clean-up.

#include "speech/ETextToSpeech.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    lusheng::ETextToSpeech voice;
    voice.Create();

    // A first window: the voices the reader can use, the one it reads with marked.
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("鹭笙语音阅读器V1.0"));
    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);
    auto* list = new QListWidget(central);
    for (const auto& name : voice.GetVoiceNames()) {
        list->addItem(QString::fromStdString(name));
    }
    layout->addWidget(new QLabel(voice.IsCreated() ? QStringLiteral("已安装的语音：")
                                                   : QStringLiteral("语音引擎无法启动。"),
                                 central));
    layout->addWidget(list);
    window.setCentralWidget(central);
    window.resize(665, 610);
    window.show();

    const int code = QApplication::exec();
    voice.Destroy();
    return code;
}
