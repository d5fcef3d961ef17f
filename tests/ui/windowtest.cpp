// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "ui/application.h"
#include "ui/frmmain.h"
#include "ui/tileimage.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cmath>

namespace {

TileImage *tile(FrmMain *window, int k)
{
    return window->findChild<TileImage *>(QString("Image1_%1").arg(k));
}

} // namespace

void MainWindowTest::initTestCase()
{
    setUpGame(*qApp);
}

void MainWindowTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    openWindow(recordsPath());
}

void MainWindowTest::cleanup()
{
    m_window.reset();
    m_dir.reset();
}

void MainWindowTest::openWindow(const QString &recordsPath)
{
    m_window.reset();
    m_window = std::make_unique<FrmMain>(recordsPath);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

TileImage *MainWindowTest::tile(int k) const
{
    return ::tile(m_window.get(), k);
}

QString MainWindowTest::board() const
{
    QString states;
    for (int k = 0; k < 16; ++k)
        states += tile(k)->tag();
    return states;
}

void chooseMenuItem(FrmMain *window, const QString &name)
{
    window->findChild<QAction *>(name)->trigger();
    QCoreApplication::processEvents();
}

void layBoard(FrmMain *window, const QString &states)
{
    const auto *blue = window->findChild<TileImage *>("Img0");
    const auto *red = window->findChild<TileImage *>("Img1");
    for (int k = 0; k < 16; ++k) {
        tile(window, k)->setTag(states.mid(k, 1));
        tile(window, k)->setPicture((states[k] == u'1' ? red : blue)->picture());
    }
}

void clickTile(FrmMain *window, int k, QTest::MouseAction action)
{
    const QPoint centre = tile(window, k)->mapTo(window, QPoint(25, 25));
    QTest::mouseEvent(action, window->windowHandle(), Qt::LeftButton, {}, centre);
}

QRect fromTwips(int left, int top, int width, int height)
{
    auto px = [](int t) { return int(std::lround(t / 15.0)); };
    return QRect(px(left), px(top), px(width), px(height));
}

QImage render(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int inkRows(QLabel *label)
{
    const QImage image = render(label);
    const QRgb background = label->palette().color(label->backgroundRole()).rgb();
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) {
                ++rows;
                break;
            }
    return rows;
}

void whenModalOpens(std::function<void(QWidget *dialog)> action)
{
    // Watches for the next modal dialog to be shown, and hands it to action from the dialog's own
    // event loop, once it runs.
    class Watch : public QObject
    {
    public:
        explicit Watch(std::function<void(QWidget *)> action)
            : QObject(qApp), m_action(std::move(action))
        {
            qApp->installEventFilter(this);
        }

    protected:
        bool eventFilter(QObject *object, QEvent *event) override
        {
            auto *dialog = qobject_cast<QDialog *>(object);
            if (event->type() == QEvent::Show && dialog && dialog->isModal()) {
                qApp->removeEventFilter(this);
                QMetaObject::invokeMethod(
                    dialog, [action = m_action, dialog] { action(dialog); }, Qt::QueuedConnection);
                deleteLater();
            }
            return false;
        }

    private:
        std::function<void(QWidget *)> m_action;
    };
    new Watch(std::move(action));
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
