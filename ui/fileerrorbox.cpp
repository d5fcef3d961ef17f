#include "ui/fileerrorbox.h"

#include "ui/design.h"

#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

namespace {

QString reasonText(const RecordFileError &error)
{
    using Reason = RecordFileError::Reason;
    switch (error.reason) {
    case Reason::IsDirectory:
        return "на месте файла находится папка";
    case Reason::FolderMissing:
        return "папки этого файла нет";
    case Reason::NotRegularFile:
        return "это не обычный файл, а канал, устройство или сокет";
    case Reason::AccessDenied:
        return error.operation == RecordFileError::Operation::Write
                   ? "файл защищён от записи, или нет права его изменять"
                   : "нет прав доступа к файлу";
    case Reason::ReadOnlyFileSystem:
        return "файловая система доступна только для чтения";
    case Reason::Busy:
        return "файл занят другой копией игры";
    case Reason::OpenFailed:
        return "файл не открывается";
    case Reason::ReadFailed:
        return "ошибка чтения";
    case Reason::WriteFailed:
        return "ошибка записи";
    case Reason::DiskFull:
        return "на диске нет места";
    }
    return "неизвестная ошибка";
}

} // namespace

QString FileErrorBox::message(const RecordFileError &error)
{
    using Operation = RecordFileError::Operation;
    const QString what =
        error.operation == Operation::Write   ? "Рекорд не сохранён: не удалось записать файл"
        : error.operation == Operation::Enter ? "Результат не внесён в таблицу рекордов: не "
                                                "удалось прочитать файл"
                                              : "Не удалось прочитать таблицу рекордов из файла";
    return QString("%1\n%2\n\nПричина: %3.")
        .arg(what, QDir::toNativeSeparators(error.filePath), reasonText(error));
}

void FileErrorBox::reportFileError(const RecordFileError &error)
{
    QMessageBox box(QMessageBox::Warning, "Пирк-Перк", message(error), QMessageBox::Ok, m_parent);
    box.setObjectName("FileError");
    centreWhenShown(&box);
    // Qt wraps a message at half the screen's width, which at 200 % display scale on a screen of
    // 1280 pixels breaks the sentences, one word to a line. The box is made as wide as the longest
    // line, the path included, while that keeps within three quarters of the screen.
    if (auto *text = box.findChild<QLabel *>("qt_msgbox_label")) {
        text->setWordWrap(false);
        const QWidget *near = m_parent ? m_parent : &box;
        text->setMinimumWidth(
            qMin(text->sizeHint().width(), near->screen()->availableGeometry().width() * 3 / 4));
    }
    box.exec();
}
