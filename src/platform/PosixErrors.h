#pragma once

#include "RunError.h"

#include <cerrno>

// What a failed POSIX call means to the invigilator, in the program's error numbers.
enum class ErrnoTarget { File, Folder };

inline RunError errorFromErrno(int err, ErrnoTarget target)
{
    switch (err) {
    case ENOENT:
        return RunError::fromNumber(target == ErrnoTarget::File ? ErrorNumber::FileNotFound
                                                                : ErrorNumber::PathNotFound);
    case ENOTDIR:
        return RunError::fromNumber(ErrorNumber::PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
        return RunError::fromNumber(ErrorNumber::PermissionDenied);
    case EEXIST:
        return RunError::fromNumber(ErrorNumber::FileAlreadyExists);
    case ENOSPC:
    case EDQUOT:
        return RunError::fromNumber(ErrorNumber::DiskFull);
    default:
        // EIO, ENOTCONN, ESTALE, EHOSTDOWN, ETIMEDOUT and the like: the share went away.
        return RunError::fromNumber(ErrorNumber::PathFileAccessError);
    }
}
