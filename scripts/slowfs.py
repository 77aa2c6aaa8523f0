#!/usr/bin/python3
"""A folder mounted elsewhere (FUSE) whose every operation answers after a delay, as a
station's share over a slow or busy network does: it answers every call, only slowly. The
benchmark's slow lab and the end-to-end test's slow station.

    slowfs.py SOURCE MOUNTPOINT MILLISECONDS

Runs in the foreground, one thread a call, until unmounted (fusermount -u MOUNTPOINT).
"""
import errno
import os
import sys
import time

from fusepy import FUSE, FuseOSError, Operations


class Slow(Operations):
    def __init__(self, root, seconds):
        self.root = root
        self.seconds = seconds

    def _path(self, path):
        time.sleep(self.seconds)
        return os.path.join(self.root, path.lstrip('/'))

    def __call__(self, op, path, *args):
        try:
            return super().__call__(op, self._path(path), *args)
        except OSError as error:
            raise FuseOSError(error.errno or errno.EIO)

    def getattr(self, path, fh=None):
        st = os.lstat(path)
        keys = ('st_mode', 'st_nlink', 'st_uid', 'st_gid', 'st_size', 'st_atime', 'st_mtime', 'st_ctime')
        return {key: getattr(st, key) for key in keys}

    def readdir(self, path, fh):
        return ['.', '..'] + os.listdir(path)

    def readlink(self, path):
        return os.readlink(path)

    def open(self, path, flags):
        return os.open(path, flags)

    def create(self, path, mode, fi=None):
        return os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, mode)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def write(self, path, data, offset, fh):
        return os.pwrite(fh, data, offset)

    def truncate(self, path, length, fh=None):
        os.truncate(path, length)

    def flush(self, path, fh):
        return 0

    def fsync(self, path, datasync, fh):
        os.fsync(fh)

    def release(self, path, fh):
        os.close(fh)

    def unlink(self, path):
        os.unlink(path)

    def rename(self, old, new):
        os.rename(old, self._path(new))

    def utimens(self, path, times=None):
        os.utime(path, times)

    def statfs(self, path):
        st = os.statvfs(path)
        keys = ('f_bavail', 'f_bfree', 'f_blocks', 'f_bsize', 'f_favail', 'f_ffree', 'f_files', 'f_flag',
                'f_frsize', 'f_namemax')
        return {key: getattr(st, key) for key in keys}


if __name__ == '__main__':
    source, mountpoint, milliseconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    # Nothing cached by the kernel: every look asks the share again, as the window does.
    FUSE(Slow(os.path.realpath(source), milliseconds / 1000), mountpoint, foreground=True, nothreads=False,
         attr_timeout=0, entry_timeout=0, negative_timeout=0)
