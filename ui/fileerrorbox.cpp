#include "ui/fileerrorbox.h"

#include <QDir>
#include <QMessageBox>

namespace {

QString reasonText(RecordFileError::Reason reason)
{
    using Reason = RecordFileError::Reason;
    switch (reason) {
    case Reason::IsDirectory:
        return "на месте файла находится папка";
    case Reason::FolderMissing:
        return "папки этого файла нет";
    case Reason::AccessDenied:
        return "нет прав доступа к файлу";
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
    const QString what = error.operation == RecordFileError::Operation::Write
                             ? "Рекорд не сохранён: не удалось записать файл"
                             : "Не удалось прочитать таблицу рекордов из файла";
    return QString("%1\n%2\n\nПричина: %3.")
        .arg(what, QDir::toNativeSeparators(error.filePath), reasonText(error.reason));
}

void FileErrorBox::reportFileError(const RecordFileError &error)
{
    QMessageBox box(QMessageBox::Warning, "Пирк-Перк", message(error), QMessageBox::Ok, m_parent);
    box.setObjectName("FileError");
    box.exec();
}
