#include "windowtest.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cmath>

QRect fromTwips(int left, int top, int width, int height)
{
    auto px = [](int t) { return int(std::lround(t / 15.0)); };
    return QRect(px(left), px(top), px(width), px(height));
}

QImage render(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void whenModalOpens(std::function<void(QWidget *dialog)> action)
{
    auto *poll = new QTimer(qApp);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action, started] {
        if (QWidget *dialog = QApplication::activeModalWidget(); dialog && dialog->isVisible()) {
            poll->deleteLater();
            action(dialog);
        } else if (started->elapsed() > 5000) {
            poll->deleteLater();
            QFAIL("no dialog opened");
        }
    });
    poll->start(10);
}

void answerWinDialogs(const QString &name, std::function<void(QWidget *records)> inspect)
{
    auto closeRecords = [inspect](QWidget *records) {
        QCOMPARE(records->objectName(), "FrmRecord");
        if (inspect)
            inspect(records);
        records->findChild<QPushButton *>("Command1")->click();
    };
    whenModalOpens([name, closeRecords](QWidget *dialog) {
        auto *prompt = qobject_cast<QInputDialog *>(dialog);
        if (!prompt)
            return closeRecords(dialog);
        whenModalOpens(closeRecords);
        if (name.isNull()) {
            prompt->reject();
        } else {
            prompt->setTextValue(name);
            prompt->accept();
        }
    });
}
