// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "ui/frmmain.h"
#include "ui/tileimage.h"

#include "../records/writeprotection.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <memory>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// What stands in the game's way when a game is won.
enum class Hostile {
    FolderInPlace,            // Records.dat is a folder
    FolderUncreatable,        // the records folder is missing and cannot be made
    RemovedWhileAsking,       // the file is removed between loading and saving
    ShortenedWhileAsking,     // the file is replaced by a shorter one in between
    FolderRemovedWhileAsking, // the file and its folder are removed in between
    DiskFull,                 // no room for the file's first byte
    DiskFullFileThere,        // no room, but the file already has its 60 bytes
    Fifo,                     // Records.dat is a FIFO
    LinkToDevZero,            // Records.dat is a symbolic link to /dev/zero
    LinkToTable,              // Records.dat is a symbolic link to a table elsewhere
    WriteProtected,           // the table may be read, not written
    ReadOnlyFileSystem,       // the table lies on a file system mounted read-only
    NoRightToWrite,           // the table belongs to another user
    FolderNotWritable,        // no table yet, in a folder that may not be written
};

// A file system of one 4 KiB page mounted on a folder. Mounting needs root; isMounted() says
// whether it worked.
class SmallDisk
{
public:
    explicit SmallDisk(const QString &folder) : m_folder(folder.toLocal8Bit())
    {
        if (!QDir().mkpath(folder) ||
            ::mount("tmpfs", m_folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=4k") != 0)
            return;
        m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }

    bool makeReadOnly() const
    {
        return ::mount(nullptr, m_folder.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) ==
               0;
    }

    // Fills what room is left; true when not one more byte fits.
    bool fill() const
    {
        QFile filler(QString::fromLocal8Bit(m_folder) + u"/filler"_s);
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        while (filler.write(QByteArray(512, 'f')) > 0) {
        }
        return filler.error() == QFileDevice::ResourceError;
    }

private:
    QByteArray m_folder;
    bool m_mounted = false;
};

// One record with an ASCII name, built by hand.
QByteArray rec(const char *name, qint16 moves)
{
    return QByteArray(name).leftJustified(10, ' ') + char(moves & 0xFF) + char(moves >> 8 & 0xFF);
}

const QByteArray FullTable =
    rec("A", 10) + rec("B", 20) + rec("C", 30) + rec("D", 40) + rec("E", 50);
// FullTable after a one-move win of "Смелый".
const QByteArray Entered = QByteArray::fromHex("D1ECE5EBFBE920202020 0100") + rec("A", 10) +
                           rec("B", 20) + rec("C", 30) + rec("D", 40);
const QStringList EmptyRows = {"1||0", "2||0", "3||0", "4||0", "5||0"};
// A table that could not be read: no rows, only the message in their place.
const QStringList Unread = {"Таблицу рекордов прочитать не удалось"};
// The file that was removed or shortened while the name was asked, after the same win.
const QByteArray Alone = Entered.left(12) + QByteArray(48, '\0');
const QStringList AloneRows = {"1|Смелый    |1", "2||0", "3||0", "4||0", "5||0"};
const QStringList FullRows = {"1|A         |10", "2|B         |20", "3|C         |30",
                              "4|D         |40", "5|E         |50"};
const QStringList EnteredRows = {"1|Смелый    |1", "2|A         |10", "3|B         |20",
                                 "4|C         |30", "5|D         |40"};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QLabel *label(QWidget *window, const QString &name)
{
    return window->findChild<QLabel *>(name);
}

// Whether the label draws its text as it is, letter for letter, and not as markup.
bool drawnAsPlainText(QLabel *shown)
{
    QLabel plain(shown->text());
    plain.setTextFormat(Qt::PlainText);
    plain.setFont(shown->font());
    plain.setPalette(shown->palette());
    plain.setAlignment(shown->alignment());
    plain.setWordWrap(shown->wordWrap());
    plain.setAutoFillBackground(shown->autoFillBackground());
    plain.setMargin(shown->margin());
    plain.setIndent(shown->indent());
    plain.setContentsMargins(shown->contentsMargins());
    plain.setFixedSize(shown->size());
    return render(&plain) == render(shown);
}

} // namespace

// The game among hostile files, folders and names: it goes on, tells the player in Russian which
// file failed, never shows a record it could not save, and stores any name as the records file's
// rules say.
class TestHostileFiles : public MainWindowTest
{
    Q_OBJECT

private slots:
    void cleanup();

    void hostileSurroundings_data();
    void hostileSurroundings();
    void hostileNames_data();
    void hostileNames();

private:
    struct Seen
    {
        QStringList opened;
        QStringList messages;
        QStringList rows;
        QString resultLine;
        // Whether every name was drawn letter for letter.
        bool plainText = true;
    };

    // Wins in one move and answers every dialog: pastes name into the name prompt after running
    // whileAsking, accepts every message and closes the records window.
    Seen win(const QString &name, const std::function<void()> &whileAsking = {});

    std::unique_ptr<SmallDisk> m_disk;
};

// The small disk is mounted in the test's folder.
void TestHostileFiles::cleanup()
{
    m_window.reset();
    m_disk.reset();
    MainWindowTest::cleanup();
}

TestHostileFiles::Seen TestHostileFiles::win(const QString &name,
                                             const std::function<void()> &whileAsking)
{
    Seen seen;
    std::function<void(QWidget *)> answer = [&](QWidget *dialog) {
        seen.opened << dialog->objectName();
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            seen.messages << box->text();
            whenModalOpens(answer);
            box->accept();
        } else if (auto *prompt = qobject_cast<QInputDialog *>(dialog)) {
            if (whileAsking)
                whileAsking();
            QGuiApplication::clipboard()->setText(name);
            prompt->findChild<QLineEdit *>()->paste();
            whenModalOpens(answer);
            prompt->accept();
        } else {
            if (QLabel *unread = label(dialog, u"LblUnreadable"_s); unread->isVisible())
                seen.rows << unread->text();
            for (int n = 1; n <= 5 && label(dialog, u"Label2_%1"_s.arg(n))->isVisible(); ++n) {
                QLabel *shown = label(dialog, u"Label2_%1"_s.arg(n));
                seen.plainText &= drawnAsPlainText(shown);
                seen.rows << u"%1|%2|%3"_s.arg(n).arg(shown->text(),
                                                      label(dialog, u"LblHod_%1"_s.arg(n))->text());
            }
            seen.resultLine = label(dialog, u"Label3"_s)->text();
            dialog->findChild<QPushButton *>("Command1")->click();
        }
    };
    whenModalOpens(answer);
    layBoard(m_window.get(), "0000011101110111");
    clickTile(m_window.get(), 0);
    return seen;
}

void TestHostileFiles::hostileSurroundings_data()
{
    QTest::addColumn<Hostile>("hostile");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QStringList>("problem");
    QTest::addColumn<QStringList>("rows");
    const QStringList unasked = {"FileError", "FrmRecord"};
    const QStringList written = {"NamePrompt", "FrmRecord"};
    const QStringList notWritten = {"NamePrompt", "FileError", "FrmRecord"};
    const QString notEntered = "Результат не внесён в таблицу рекордов: не удалось прочитать файл";
    const QString notSaved = "Рекорд не сохранён: не удалось записать файл";
    const QString folderMissing = "Причина: папки этого файла нет.";
    const QString notRegular = "Причина: это не обычный файл, а канал, устройство или сокет.";
    const QString protectedFile = "Причина: файл защищён от записи, или нет права его изменять.";

    QTest::newRow("Records.dat is a folder")
        << Hostile::FolderInPlace << unasked
        << QStringList{notEntered, "Причина: на месте файла находится папка."} << Unread;
    QTest::newRow("folder missing, cannot be made")
        << Hostile::FolderUncreatable << unasked << QStringList{notEntered, folderMissing}
        << Unread;
    QTest::newRow("a FIFO") << Hostile::Fifo << unasked << QStringList{notEntered, notRegular}
                            << Unread;
    QTest::newRow("a link to /dev/zero")
        << Hostile::LinkToDevZero << unasked << QStringList{notEntered, notRegular} << Unread;
    QTest::newRow("a link to a table, followed")
        << Hostile::LinkToTable << written << QStringList() << EnteredRows;
    QTest::newRow("write-protected")
        << Hostile::WriteProtected << unasked << QStringList{notSaved, protectedFile} << FullRows;
    QTest::newRow("read-only file system")
        << Hostile::ReadOnlyFileSystem << unasked
        << QStringList{notSaved, "Причина: файловая система доступна только для чтения."}
        << FullRows;
    QTest::newRow("no right to write")
        << Hostile::NoRightToWrite << unasked << QStringList{notSaved, protectedFile} << FullRows;
    // The result goes into the table as the file holds it once the name has been entered.
    QTest::newRow("removed while the name is asked")
        << Hostile::RemovedWhileAsking << written << QStringList() << AloneRows;
    QTest::newRow("replaced by a shorter one while the name is asked")
        << Hostile::ShortenedWhileAsking << written << QStringList() << AloneRows;
    QTest::newRow("folder removed while the name is asked")
        << Hostile::FolderRemovedWhileAsking << notWritten << QStringList{notSaved, folderMissing}
        << Unread;
    QTest::newRow("no file, the folder may not be written")
        << Hostile::FolderNotWritable << unasked
        << QStringList{"Рекорд не сохранён: не удалось создать файл в папке",
                       "Причина: в папку нельзя записывать."}
        << EmptyRows;
    QTest::newRow("disk full") << Hostile::DiskFull << notWritten
                               << QStringList{notSaved, "Причина: на диске нет места."}
                               << EmptyRows;
    QTest::newRow("disk full, the file already whole")
        << Hostile::DiskFullFileThere << written << QStringList() << EnteredRows;
}

void TestHostileFiles::hostileSurroundings()
{
    QFETCH(Hostile, hostile);
    QFETCH(QStringList, opened);
    QFETCH(QStringList, problem);
    QFETCH(QStringList, rows);
    QString folder = m_dir->filePath(u"records"_s);
    const QString path = folder + u"/Records.dat"_s;
    // Where the table's bytes are, and what they are before the win.
    QString table = path;
    QByteArray before;
    std::function<void()> whileAsking;
    std::unique_ptr<WriteProtection> protection;
    bool asNobody = false;
    switch (hostile) {
    case Hostile::FolderInPlace:
        QVERIFY(QDir().mkpath(folder + u"/Records.dat"_s));
        break;
    case Hostile::FolderUncreatable:
        QVERIFY(writeFile(m_dir->filePath(u"plain"_s), "a file, not a folder"));
        folder = m_dir->filePath(u"plain/records"_s);
        QVERIFY(!QDir().mkpath(folder));
        break;
    case Hostile::RemovedWhileAsking:
    case Hostile::ShortenedWhileAsking:
    case Hostile::FolderRemovedWhileAsking:
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeFile(folder + u"/Records.dat"_s, FullTable + "and a tail"));
        whileAsking = [hostile, folder] {
            const QString path = folder + u"/Records.dat"_s;
            if (hostile == Hostile::RemovedWhileAsking)
                QFile::remove(path);
            else if (hostile == Hostile::ShortenedWhileAsking)
                writeFile(path, "shorter");
            else
                QDir(folder).removeRecursively();
        };
        break;
    case Hostile::DiskFull:
    case Hostile::DiskFullFileThere:
        m_disk = std::make_unique<SmallDisk>(folder);
        if (!m_disk->isMounted())
            QSKIP("cannot mount a small file system here (it needs root); tst_recordtable's "
                  "save cut short by a file size limit stands in for a full disk");
        if (hostile == Hostile::DiskFullFileThere)
            QVERIFY(writeFile(path, before = FullTable));
        QVERIFY(m_disk->fill());
        break;
    case Hostile::Fifo:
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        break;
    case Hostile::LinkToDevZero:
    case Hostile::LinkToTable:
        table = hostile == Hostile::LinkToTable ? m_dir->filePath(u"table.dat"_s) : u"/dev/zero"_s;
        before = FullTable + "and a tail";
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(hostile == Hostile::LinkToDevZero || writeFile(table, before));
        QVERIFY(QFile::link(table, path));
        break;
    case Hostile::WriteProtected:
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeFile(path, before = FullTable));
        protection = std::make_unique<WriteProtection>(path);
        if (!protection->isActive())
            QSKIP("cannot write-protect a file here");
        break;
    case Hostile::ReadOnlyFileSystem:
        m_disk = std::make_unique<SmallDisk>(folder);
        if (!m_disk->isMounted())
            QSKIP("cannot mount a small file system here (it needs root)");
        QVERIFY(writeFile(path, before = FullTable));
        QVERIFY(m_disk->makeReadOnly());
        break;
    case Hostile::NoRightToWrite:
    case Hostile::FolderNotWritable:
        // Root may write any file: the game opens files as the user nobody while it is played.
        if (::getuid() != 0)
            QSKIP("needs root, to play as another user than the file's owner");
        QVERIFY(QDir().mkpath(folder));
        if (hostile == Hostile::NoRightToWrite)
            QVERIFY(writeFile(path, before = FullTable));
        for (const QString &folderOnTheWay : {m_dir->path(), folder})
            QVERIFY(QFile::setPermissions(folderOnTheWay, QFile::ReadOwner | QFile::WriteOwner |
                                                              QFile::ExeOwner | QFile::ReadGroup |
                                                              QFile::ExeGroup | QFile::ReadOther |
                                                              QFile::ExeOther));
        asNobody = true;
        break;
    }
    openWindow(path);

    Seen seen;
    {
        if (asNobody)
            ::setfsuid(65534);
        const auto asRootAgain = qScopeGuard([asNobody] {
            if (asNobody)
                ::setfsuid(0);
        });
        seen = win(u"Смелый"_s, whileAsking);
    }

    QCOMPARE(seen.opened, opened);
    QCOMPARE(seen.messages.size(), problem.isEmpty() ? 0 : 1);
    if (!problem.isEmpty()) {
        const QString &message = seen.messages.front();
        // The file, or the folder where there is none to name.
        const QString named = hostile == Hostile::FolderNotWritable ? folder : path;
        QVERIFY2(message.contains(QDir::toNativeSeparators(named)), qPrintable(message));
        for (const QString &part : problem)
            QVERIFY2(message.contains(part), qPrintable(message));
    }
    QCOMPARE(seen.rows, rows);
    QCOMPARE(seen.resultLine, "Вы справились за 1 ходов");
    QVERIFY(seen.plainText);
    if (hostile == Hostile::Fifo || hostile == Hostile::LinkToDevZero)
        QVERIFY(!QFileInfo(path).isFile());
    else
        QCOMPARE(fileBytes(table), rows == EnteredRows ? Entered + before.mid(60)
                                   : rows == AloneRows ? Alone
                                                       : before);

    // The game goes on: the board stays locked with its count until a new game.
    QVERIFY(m_window->isVisible());
    QCOMPARE(label(m_window.get(), u"LblHod"_s)->text(), "1");
    QVERIFY(!m_window->findChild<TileImage *>("Image1_0")->isEnabled());
    QTest::mouseClick(m_window->findChild<QPushButton *>("CmdNew"), Qt::LeftButton);
    QCOMPARE(label(m_window.get(), u"LblHod"_s)->text(), "0");
    for (int k = 0; k < 16; ++k)
        QVERIFY(m_window->findChild<TileImage *>(u"Image1_%1"_s.arg(k))->isEnabled());
}

void TestHostileFiles::hostileNames_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
    QTest::newRow("10,000 characters") << u"Пётр Первый, "_s.repeated(800).left(10000)
                                       << hex("CFB8F2F020CFE5F0E2FB") << u"Пётр Первы"_s;
    QTest::newRow("control characters")
        << u"a\tb\nc\r\nd\x01"_s << hex("6109620A633F64012020") << u"a\tb\nc?d\x01  "_s;
    QTest::newRow("NUL") << u"ab"_s + QChar(0) + u"cd"_s << hex("61620063642020202020") << u"ab"_s;
    QTest::newRow("right to left")
        << u"\u202Eשלום Вова"_s << hex("3F3F3F3F3F20C2EEE2E0") << u"????? Вова"_s;
    QTest::newRow("emoji") << u"😀👍🏽 Оля"_s << hex("3F3F20CEEBFF20202020") << u"?? Оля    "_s;
    QTest::newRow("no Windows-1251 character")
        << u"中文字符"_s << hex("3F3F3F3F202020202020") << u"????      "_s;
    QTest::newRow("markup") << u"<b>Вася</b>"_s << hex("3C623EC2E0F1FF3C2F62") << u"<b>Вася</b"_s;
    QTest::newRow("entity") << u"a&lt;b&gt;c"_s << hex("61266C743B622667743B") << u"a&lt;b&gt;"_s;
}

// Any pasted name: the first ten characters are stored as the records file's rules say, and the
// records window shows them back as they are stored, in the name's own place.
void TestHostileFiles::hostileNames()
{
    QFETCH(QString, pasted);
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    const QString path = m_dir->filePath(u"Records.dat"_s);
    openWindow(path);

    const Seen seen = win(pasted);

    QCOMPARE(seen.opened, (QStringList{"NamePrompt", "FrmRecord"}));
    QCOMPARE(fileBytes(path), stored + QByteArray("\x01\x00", 2) + QByteArray(48, '\0'));
    QCOMPARE(seen.rows, QStringList{u"1|%1|1"_s.arg(shown)} + EmptyRows.mid(1));
    QVERIFY(seen.plainText);
}

QTEST_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
