#pragma once

#include "FileSystem.h"
#include "RunError.h"

#include <cerrno>

// What a failed POSIX call means to the invigilator, in the program's error numbers.
enum class ErrnoTarget { File, Folder };

inline RunError errorFromErrno(int err, ErrnoTarget target)
{
    switch (err) {
    case EBUSY:
    case ETXTBSY:
        return RunError::fileBusy();
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
#ifdef EDQUOT // not in MinGW's errno.h, where the tests' fake file system uses these numbers
    case EDQUOT:
#endif
        return RunError::fromNumber(ErrorNumber::DiskFull);
    default:
        // EIO, ENOTCONN, ESTALE, EHOSTDOWN, ETIMEDOUT and the like: the share went away.
        return RunError::shareGone();
    }
}

// How an attempt to claim a name that must not be taken ended: EEXIST means a file
// has it; the answers of a file system that cannot make the attempt at all mean
// another way is to be tried; anything else is a failure.
inline FileSystem::Claim claimOutcome(int err, bool unsupported)
{
    if (err == EEXIST)
        return FileSystem::Claim::Taken;
    if (unsupported)
        return FileSystem::Claim::Unsupported;
    throw errorFromErrno(err, ErrnoTarget::File);
}

// sshfs and other FUSE file systems refuse the no-replace flag with EINVAL;
// a system without the call answers ENOSYS.
inline FileSystem::Claim renameNoReplaceOutcome(int err)
{
    return claimOutcome(err, err == EINVAL || err == ENOSYS);
}

// FAT, exFAT and sshfs with links disabled.
inline FileSystem::Claim linkOutcome(int err)
{
    return claimOutcome(err, err == EPERM || err == EOPNOTSUPP);
}
