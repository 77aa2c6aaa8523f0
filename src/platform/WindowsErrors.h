#pragma once

#include "RunError.h"

#include <windows.h>

// What a failed Win32 call means to the invigilator, in the program's error numbers.
enum class LastErrorTarget { File, Folder };

inline RunError errorFromLastError(DWORD err, LastErrorTarget target)
{
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
        return RunError::fromNumber(target == LastErrorTarget::File ? ErrorNumber::FileNotFound
                                                                    : ErrorNumber::PathNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
        return RunError::fromNumber(ErrorNumber::PathNotFound);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return RunError::fileBusy();
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return RunError::fromNumber(ErrorNumber::PermissionDenied);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return RunError::fromNumber(ErrorNumber::FileAlreadyExists);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return RunError::fromNumber(ErrorNumber::DiskFull);
    default:
        // ERROR_NETNAME_DELETED, ERROR_BAD_NETPATH, ERROR_UNEXP_NET_ERR and the like.
        return RunError::shareGone();
    }
}
