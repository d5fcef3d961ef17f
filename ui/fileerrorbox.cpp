// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/fileerrorbox.h"

#include "ui/design.h"

#include <QDir>
#include <QFileInfo>
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
    case Reason::FolderNotWritable:
        return "в папку нельзя записывать";
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

QString fileErrorMessage(const RecordFileError &error)
{
    using Operation = RecordFileError::Operation;
    // With no file yet, what could not be written is its folder, named in the file's place.
    const bool noFile = error.reason == RecordFileError::Reason::FolderNotWritable;
    const QString what =
        noFile ? "Рекорд не сохранён: не удалось создать файл в папке"
        : error.operation == Operation::Write ? "Рекорд не сохранён: не удалось записать файл"
        : error.operation == Operation::Enter ? "Результат не внесён в таблицу рекордов: не "
                                                "удалось прочитать файл"
                                              : "Не удалось прочитать таблицу рекордов из файла";
    const QString where = noFile ? QFileInfo(error.filePath).absolutePath() : error.filePath;
    return QString("%1\n%2\n\nПричина: %3.")
        .arg(what, QDir::toNativeSeparators(where), reasonText(error));
}

void showFileError(QWidget *parent, const RecordFileError &error)
{
    QMessageBox box(QMessageBox::Warning, "Пирк-Перк", fileErrorMessage(error), QMessageBox::Ok,
                    parent);
    box.setObjectName("FileError");
    centreWhenShown(&box);
    // Qt wraps a message at half the screen's width, which at 200 % display scale on a screen of
    // 1280 pixels breaks the sentences, one word to a line. The box is made as wide as the longest
    // line, the path included, while that keeps within three quarters of the screen.
    if (auto *text = box.findChild<QLabel *>("qt_msgbox_label")) {
        text->setWordWrap(false);
        const QWidget *near = parent ? parent : &box;
        text->setMinimumWidth(
            qMin(text->sizeHint().width(), near->screen()->availableGeometry().width() * 3 / 4));
    }
    box.exec();
}
