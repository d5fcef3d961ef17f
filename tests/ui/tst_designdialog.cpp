// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "ui/application.h"
#include "ui/designfont.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"
#include "ui/frmrecord.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>

// What the rules, about and records windows share: their frame, their one button, their keys and
// their showing.
class TestDesignDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpGame(*qApp); }

    void windowFrame_data();
    void windowFrame();
    void buttonIsTheOnlyFocus_data() { windows(); }
    void buttonIsTheOnlyFocus();
    void keys_data();
    void keys();
    void closingEndsTheShowing_data();
    void closingEndsTheShowing();

private:
    void windows();
    static DesignDialog *create(const QString &window, QWidget *parent = nullptr);
};

void TestDesignDialog::windows()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    QTest::newRow("FrmHelp") << "FrmHelp"
                             << "Command1";
    QTest::newRow("FrmAbout") << "FrmAbout"
                              << "CmdClose";
    QTest::newRow("FrmRecord") << "FrmRecord"
                               << "Command1";
}

DesignDialog *TestDesignDialog::create(const QString &window, QWidget *parent)
{
    if (window == "FrmHelp")
        return new FrmHelp(parent);
    if (window == "FrmAbout")
        return new FrmAbout(parent);
    return new FrmRecord(parent);
}

void TestDesignDialog::windowFrame_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QString>("icon");
    QTest::newRow("FrmHelp") << "FrmHelp"
                             << "Правила" << QSize(222, 299) << "question";
    QTest::newRow("FrmAbout") << "FrmAbout"
                              << "О программе" << QSize(277, 208) << QString();
    QTest::newRow("FrmRecord") << "FrmRecord"
                               << "Рекордсмены" << QSize(314, 202) << "column";
}

void TestDesignDialog::windowFrame()
{
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QSize, client);
    QFETCH(QString, icon);
    // An owner in the screen's corner: the window centres on the screen, not on its owner.
    QWidget owner;
    owner.setGeometry(0, 0, 100, 100);
    owner.show();
    std::unique_ptr<DesignDialog> dialog(create(window, &owner));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    QCOMPARE(dialog->objectName(), window);
    QCOMPARE(dialog->windowTitle(), caption);
    QCOMPARE(dialog->size(), client);
    QCOMPARE(dialog->minimumSize(), client);
    QCOMPARE(dialog->maximumSize(), client);
    const Qt::WindowFlags flags = dialog->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(flags & Qt::MSWindowsFixedSizeDialogHint);
    if (icon.isEmpty())
        QVERIFY(!dialog->testAttribute(Qt::WA_SetWindowIcon));
    else
        QCOMPARE(dialog->windowIcon().pixmap(32).toImage(), pictureIcon(icon).pixmap(32).toImage());

    QCOMPARE(QFontInfo(dialog->font()).family(), QFontInfo(designFont()).family());
    QCOMPARE(dialog->font().pointSizeF(), 8.25);
    QVERIFY(!dialog->font().bold());
    QCOMPARE(dialog->palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::Window));

    const QPoint offCentre =
        dialog->frameGeometry().center() - dialog->screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 1,
             qPrintable(QString("off centre by %1, %2").arg(offCentre.x()).arg(offCentre.y())));
}

void TestDesignDialog::buttonIsTheOnlyFocus()
{
    QFETCH(QString, window);
    QFETCH(QString, button);
    std::unique_ptr<DesignDialog> dialog(create(window));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));

    auto *command = dialog->findChild<QPushButton *>(button);
    QVERIFY(command);
    QList<QWidget *> focusable;
    for (QWidget *control : dialog->findChildren<QWidget *>())
        if (control->focusPolicy() != Qt::NoFocus)
            focusable << control;
    QCOMPARE(focusable, QList<QWidget *>{command});
    QCOMPARE(QApplication::focusWidget(), command);
    QVERIFY(!command->isDefault());
}

void TestDesignDialog::keys_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    for (const char *window : {"FrmHelp", "FrmAbout", "FrmRecord"}) {
        for (auto [key, name, closes] :
             {std::tuple{Qt::Key_Escape, "Escape", false},
              std::tuple{Qt::Key_Return, "Return", true}, std::tuple{Qt::Key_Enter, "Enter", true},
              std::tuple{Qt::Key_Space, "Space", true}})
            QTest::addRow("%s, %s", window, name) << window << int(key) << closes;
    }
}

void TestDesignDialog::keys()
{
    QFETCH(QString, window);
    QFETCH(int, key);
    QFETCH(bool, closes);
    std::unique_ptr<DesignDialog> dialog(create(window));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));

    QTest::keyClick(dialog->windowHandle(), Qt::Key(key));
    QCOMPARE(dialog->isVisible(), !closes);
}

void TestDesignDialog::closingEndsTheShowing_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("closeBox");
    for (const char *window : {"FrmHelp", "FrmAbout", "FrmRecord"}) {
        QTest::addRow("%s, button", window) << window << false;
        QTest::addRow("%s, close box", window) << window << true;
    }
}

// Closing ends the modal showing; the next showing is a new window that looks the same.
void TestDesignDialog::closingEndsTheShowing()
{
    QFETCH(QString, window);
    QFETCH(bool, closeBox);
    std::unique_ptr<DesignDialog> dialog(create(window));
    QImage look;
    whenModalOpens([&](QWidget *shown) {
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        look = render(shown);
        if (closeBox)
            shown->close();
        else
            QTest::mouseClick(shown->findChild<QPushButton *>(), Qt::LeftButton);
    });
    dialog->exec();
    QVERIFY(!look.isNull());
    QVERIFY(!dialog->isVisible());

    std::unique_ptr<DesignDialog> again(create(window));
    again->show();
    QVERIFY(QTest::qWaitForWindowExposed(again.get()));
    QCOMPARE(render(again.get()), look);
}

QTEST_MAIN(TestDesignDialog)
#include "tst_designdialog.moc"
