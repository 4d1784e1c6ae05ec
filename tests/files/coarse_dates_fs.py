#!/usr/bin/python3
# A folder mounted again (FUSE) with its files' dates as file systems that keep them coarsely
# report them, for the tests of reads that another program's writes meet:
#   coarse_dates_fs.py second|fat|fine FOLDER MOUNTPOINT
# second: every date rounded down to the whole second (ext3 with small inodes, many network
# shares); fat: the last write rounded down to two seconds and given for the change too (FAT,
# as Linux keeps it), so that a writer that puts the write date back puts the change back;
# fine: the dates as they are. Runs in the foreground until unmounted.
import errno
import os
import sys

import fusepy


class CoarseDates(fusepy.Operations):
    def __init__(self, root, mode):
        self.root = root
        self.mode = mode

    def _path(self, path):
        return os.path.join(self.root, path.lstrip("/"))

    def getattr(self, path, fh=None):
        st = os.lstat(self._path(path)) if fh is None else os.fstat(fh)
        attrs = {key: getattr(st, key) for key in ("st_mode", "st_nlink", "st_uid", "st_gid", "st_size", "st_ino")}
        dates = {key: getattr(st, key) for key in ("st_atime", "st_mtime", "st_ctime")}
        if self.mode == "second":
            dates = {key: float(int(value)) for key, value in dates.items()}
        elif self.mode == "fat":
            written = float(int(st.st_mtime) // 2 * 2)
            dates = {"st_atime": float(int(st.st_atime) // 86400 * 86400), "st_mtime": written, "st_ctime": written}
        attrs.update(dates)
        return attrs

    def access(self, path, mode):
        if not os.access(self._path(path), mode):
            raise fusepy.FuseOSError(errno.EACCES)

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self._path(path))

    def statfs(self, path):
        st = os.statvfs(self._path(path))
        return {key: getattr(st, key) for key in ("f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail",
                                                  "f_ffree", "f_files", "f_flag", "f_frsize", "f_namemax")}

    def chmod(self, path, mode):
        os.chmod(self._path(path), mode)

    def chown(self, path, uid, gid):
        os.chown(self._path(path), uid, gid)

    def utimens(self, path, times=None):
        os.utime(self._path(path), times)

    def mkdir(self, path, mode):
        os.mkdir(self._path(path), mode)

    def rmdir(self, path):
        os.rmdir(self._path(path))

    def unlink(self, path):
        os.unlink(self._path(path))

    def rename(self, old, new):
        os.rename(self._path(old), self._path(new))

    def link(self, target, name):
        os.link(self._path(name), self._path(target))

    def open(self, path, flags):
        return os.open(self._path(path), flags)

    def create(self, path, mode, fi=None):
        return os.open(self._path(path), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, mode)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def write(self, path, data, offset, fh):
        return os.pwrite(fh, data, offset)

    def truncate(self, path, length, fh=None):
        if fh is None:
            os.truncate(self._path(path), length)
        else:
            os.ftruncate(fh, length)

    def flush(self, path, fh):
        return 0

    def fsync(self, path, datasync, fh):
        os.fsync(fh)

    def release(self, path, fh):
        os.close(fh)


if __name__ == "__main__":
    mode, root, mountpoint = sys.argv[1:4]
    # No caching of sizes and dates in the kernel: each look asks the folder, as a reader on
    # another machine's share would.
    fusepy.FUSE(CoarseDates(os.path.abspath(root), mode), mountpoint, foreground=True, nothreads=False,
                allow_other=True, attr_timeout=0, entry_timeout=0, direct_io=True)
