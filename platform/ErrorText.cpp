#include "platform/ErrorText.h"

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>

QString errorText(int code)
{
    // Qt's Russian wording where the game showed it before.
    switch (code) {
    case ENOSPC: return QStringLiteral("Нет свободного места на устройстве");
    case EDQUOT: return QStringLiteral("Превышена дисковая квота");
    case EFBIG: return QStringLiteral("Файл слишком велик");
    case EROFS: return QStringLiteral("Файловая система доступна только для чтения");
    case EACCES: return QStringLiteral("Доступ запрещён");
    case EPERM: return QStringLiteral("Операция не разрешена");
    case ENOENT: return QStringLiteral("Файл или каталог не существует");
    case EEXIST: return QStringLiteral("Файл уже существует");
    case ENOTDIR: return QStringLiteral("Часть пути не является каталогом");
    case EISDIR: return QStringLiteral("открываемый файл является каталогом");
    case ELOOP: return QStringLiteral("Слишком много уровней символических ссылок");
    case ENAMETOOLONG: return QStringLiteral("Слишком длинное имя файла");
    case ENXIO: return QStringLiteral("Нет такого устройства или адреса");
    case ENODEV: return QStringLiteral("Нет такого устройства");
    case EIO: return QStringLiteral("Ошибка ввода-вывода");
    case EBUSY: return QStringLiteral("Устройство или ресурс занято");
    case ETXTBSY: return QStringLiteral("Файл занят запущенной программой");
    case EMFILE: return QStringLiteral("Слишком много открытых файлов");
    case ENFILE: return QStringLiteral("Слишком много открытых файлов в системе");
    case EMLINK: return QStringLiteral("Слишком много ссылок");
    case ENOLCK: return QStringLiteral("Нет доступных блокировок");
    case ENOMEM: return QStringLiteral("Недостаточно памяти");
    case EAGAIN: return QStringLiteral("Ресурс временно недоступен");
    case EINTR: return QStringLiteral("Операция прервана");
    case EINVAL: return QStringLiteral("Недопустимый аргумент");
    case EOVERFLOW: return QStringLiteral("Файл слишком велик для этой операции");
    case EOPNOTSUPP: return QStringLiteral("Операция не поддерживается");
    case ESTALE: return QStringLiteral("Файл на сетевом диске больше недоступен");
    case EXDEV: return QStringLiteral("Файлы лежат на разных файловых системах");
    default: return qt_error_string(code);
    }
}

QString notAFileText(mode_t mode)
{
    if (S_ISDIR(mode))
        return errorText(EISDIR);
    if (S_ISFIFO(mode))
        return QStringLiteral("Это не обычный файл, а именованный канал");
    if (S_ISSOCK(mode))
        return QStringLiteral("Это не обычный файл, а сокет");
    if (S_ISLNK(mode))
        return QStringLiteral("Это не обычный файл, а символическая ссылка");
    return QStringLiteral("Это не обычный файл, а устройство");
}

QString userText(uid_t uid)
{
    const passwd *entry = ::getpwuid(uid);
    return entry && entry->pw_name && *entry->pw_name ? QString::fromLocal8Bit(entry->pw_name)
                                                      : QString::number(uid);
}
