// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "ui/fileerrorbox.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"
#include "ui/frmmain.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <memory>

// Every text a player can meet is Russian: the windows, the standard dialogs the game shows, the
// name field's context menu, and what a screen reader says. Latin letters are allowed only in the
// design's own "Ok!" and "OK", in addresses, in the records file's path and in key names.
class TestRussianOnly : public MainWindowTest
{
    Q_OBJECT

private slots:
    void windows_data();
    void windows();
    void exitQuestion();
    void namePromptAndRecordsAfterWin();
    void fileErrorMessage();

private:
    // The texts of a window and of everything in it, each as "where: text".
    static QStringList texts(QWidget *window);
    static void addAccessibleTexts(QAccessibleInterface *node, const QString &where,
                                   QStringList &texts);
    static void addActionTexts(QAction *action, const QString &where, QStringList &texts);
    // The texts that hold a Latin letter outside the allowed words.
    static QStringList english(const QStringList &texts, const QString &path = {});
};

void TestRussianOnly::addActionTexts(QAction *action, const QString &where, QStringList &texts)
{
    for (const QString &text : {action->text(), action->iconText(), action->toolTip(),
                                action->statusTip(), action->whatsThis()})
        texts << where + " action: " + text;
    if (QMenu *menu = action->menu())
        for (QAction *item : menu->actions())
            addActionTexts(item, where + "/" + menu->title(), texts);
}

void TestRussianOnly::addAccessibleTexts(QAccessibleInterface *node, const QString &where,
                                         QStringList &texts)
{
    if (!node)
        return;
    for (QAccessible::Text kind : {QAccessible::Name, QAccessible::Description, QAccessible::Help})
        texts << where + " screen reader: " + node->text(kind);
    for (int i = 0; i < node->childCount(); ++i)
        addAccessibleTexts(node->child(i), where, texts);
}

QStringList TestRussianOnly::texts(QWidget *window)
{
    QStringList texts;
    texts << window->objectName() + " title: " + window->windowTitle();
    const QList<QWidget *> widgets = QList<QWidget *>{window} + window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        const QString where = window->objectName() + "/" + widget->objectName();
        for (const QString &text : {widget->toolTip(), widget->statusTip(), widget->whatsThis(),
                                    widget->accessibleName(), widget->accessibleDescription()})
            texts << where + ": " + text;
        if (auto *label = qobject_cast<QLabel *>(widget))
            texts << where + ": " + label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts << where + ": " + button->text();
        if (auto *field = qobject_cast<QLineEdit *>(widget))
            texts << where + ": " + field->placeholderText();
        if (auto *menu = qobject_cast<QMenu *>(widget))
            texts << where + ": " + menu->title();
        for (QAction *action : widget->actions())
            addActionTexts(action, where, texts);
    }
    addAccessibleTexts(QAccessible::queryAccessibleInterface(window), window->objectName(), texts);
    return texts;
}

QStringList TestRussianOnly::english(const QStringList &texts, const QString &path)
{
    static const QRegularExpression allowed("\\bOk!|\\bOK\\b"
                                            "|[\\w.+-]+@[\\w-]+(\\.[\\w-]+)+"   // an e-mail address
                                            "|\\b[a-z0-9-]+(\\.[a-z0-9-]+)+\\b" // a web address
                                            "|\\t.*$"); // a shortcut's keys in a menu item
    static const QRegularExpression latin("[A-Za-z]");
    QStringList found;
    for (const QString &entry : texts) {
        const QString text = entry.section(": ", 1);
        QString rest = text;
        if (!path.isEmpty())
            rest.remove(QDir::toNativeSeparators(path));
        rest.remove(allowed);
        if (rest.contains(latin))
            found << entry;
    }
    return found;
}

void TestRussianOnly::windows_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("FrmMain") << "FrmMain";
    QTest::newRow("FrmHelp") << "FrmHelp";
    QTest::newRow("FrmAbout") << "FrmAbout";
    QTest::newRow("FrmRecord") << "FrmRecord";
}

void TestRussianOnly::windows()
{
    QFETCH(QString, window);
    QStringList seen;
    if (window == "FrmMain") {
        seen = texts(m_window.get());
    } else {
        whenModalOpens([&](QWidget *dialog) {
            seen = texts(dialog);
            dialog->close();
        });
        const char *command = window == "FrmHelp"    ? "MnuPravila"
                              : window == "FrmAbout" ? "MnuAbout"
                                                     : "Records";
        chooseMenuItem(m_window.get(), command);
    }
    QVERIFY(seen.size() > 10);
    const QStringList found = english(seen);
    QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
}

void TestRussianOnly::exitQuestion()
{
    QStringList seen;
    whenModalOpens([&](QWidget *dialog) {
        QCOMPARE(dialog->objectName(), "ExitQuestion");
        seen = texts(dialog);
        qobject_cast<QMessageBox *>(dialog)->button(QMessageBox::No)->click();
    });
    m_window->ExitProgram();
    QVERIFY(seen.contains("ExitQuestion title: Пирк - Перк"));
    const QStringList found = english(seen);
    QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
}

// The name prompt, with the context menu of its field, and the records window that follows.
void TestRussianOnly::namePromptAndRecordsAfterWin()
{
    QStringList seen, menu, records;
    whenModalOpens([&](QWidget *dialog) {
        QCOMPARE(dialog->objectName(), "NamePrompt");
        seen = texts(dialog);
        auto *field = dialog->findChild<QLineEdit *>();
        QVERIFY(field);
        field->setText("Тест");
        field->selectAll();
        std::unique_ptr<QMenu> contextMenu(field->createStandardContextMenu());
        contextMenu->setObjectName("ContextMenu");
        menu = texts(contextMenu.get());
        whenModalOpens([&](QWidget *shown) {
            records = texts(shown);
            shown->close();
        });
        qobject_cast<QInputDialog *>(dialog)->accept();
    });
    layBoard(m_window.get(), "0000011101110111");
    clickTile(m_window.get(), 0);

    QVERIFY(seen.contains("NamePrompt title: Рекорд"));
    QVERIFY(menu.size() > 5);
    QVERIFY(!records.isEmpty());
    const QStringList found = english(seen + menu + records);
    QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
}

void TestRussianOnly::fileErrorMessage()
{
    QVERIFY(QDir(m_dir->path()).mkdir("Records.dat"));
    QStringList seen;
    whenModalOpens([&](QWidget *dialog) {
        QCOMPARE(dialog->objectName(), "FileError");
        seen = texts(dialog);
        whenModalOpens([](QWidget *records) { records->close(); });
        qobject_cast<QMessageBox *>(dialog)->accept();
    });
    layBoard(m_window.get(), "0000011101110111");
    clickTile(m_window.get(), 0);
    QVERIFY(!seen.isEmpty());
    const QStringList found = english(seen, recordsPath());
    QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
}

QTEST_MAIN(TestRussianOnly)
#include "tst_russianonly.moc"
