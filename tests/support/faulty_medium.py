#!/usr/bin/python3
"""A medium that accepts every write and then gives other bytes back, as a
failing or fake stick does: a FUSE file system, kept in memory, mounted with
direct_io so that every read reaches it and not the page cache.

    faulty_medium.py MOUNTPOINT

It stores writes faithfully. Reads of a regular file past a set offset are
faulty as the file ".fault" at its root says; a test writes one line there:
    none            every byte comes back as written (the default)
    zeros OFFSET    zeros from OFFSET on, as a fake stick past its real size
    flip OFFSET     the byte at OFFSET with its lowest bit flipped
    eio OFFSET      a read that reaches OFFSET fails with an I/O error
"""
import errno
import stat
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations  # Debian names the module fusepy

CONTROL = "/.fault"


class FaultyMedium(Operations):
    def __init__(self):
        now = time.time()
        self.guard = threading.Lock()
        self.dirs = {"/": dict(mode=stat.S_IFDIR | 0o777, times=now)}
        self.files = {}  # path -> dict(data=bytearray, mode=..., times=...)
        self.fault = ("none", 0)

    # Names ---------------------------------------------------------------
    def _attrs(self, mode, size, times):
        return dict(st_mode=mode, st_nlink=1, st_size=size, st_uid=0, st_gid=0,
                    st_atime=times, st_mtime=times, st_ctime=times)

    def getattr(self, path, fh=None):
        with self.guard:
            if path in self.dirs:
                return self._attrs(self.dirs[path]["mode"], 0, self.dirs[path]["times"])
            if path in self.files:
                f = self.files[path]
                return self._attrs(f["mode"], len(f["data"]), f["times"])
            if path == CONTROL:
                return self._attrs(stat.S_IFREG | 0o666, 0, time.time())
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        with self.guard:
            prefix = path.rstrip("/") + "/"
            names = {p[len(prefix):] for p in list(self.files) + list(self.dirs)
                     if p.startswith(prefix) and p != prefix and "/" not in p[len(prefix):]}
        return [".", ".."] + sorted(names)

    def mkdir(self, path, mode):
        with self.guard:
            self.dirs[path] = dict(mode=stat.S_IFDIR | (mode & 0o777), times=time.time())

    def rmdir(self, path):
        with self.guard:
            self.dirs.pop(path, None)

    def create(self, path, mode, fi=None):
        with self.guard:
            if path != CONTROL:
                self.files[path] = dict(data=bytearray(), mode=stat.S_IFREG | (mode & 0o777), times=time.time())
        return 0

    def open(self, path, flags):
        if path != CONTROL and path not in self.files:
            raise FuseOSError(errno.ENOENT)
        return 0

    def unlink(self, path):
        with self.guard:
            if self.files.pop(path, None) is None:
                raise FuseOSError(errno.ENOENT)

    def rename(self, old, new):
        with self.guard:
            if old not in self.files:
                raise FuseOSError(errno.ENOENT)
            self.files[new] = self.files.pop(old)

    def chmod(self, path, mode):
        with self.guard:
            entry = self.files.get(path) or self.dirs.get(path)
            if entry is not None:
                entry["mode"] = (entry["mode"] & ~0o7777) | (mode & 0o7777)

    def chown(self, path, uid, gid):
        pass

    def utimens(self, path, times=None):
        with self.guard:
            entry = self.files.get(path) or self.dirs.get(path)
            if entry is not None:
                entry["times"] = times[1] if times else time.time()

    def statfs(self, path):
        return dict(f_bsize=4096, f_frsize=4096, f_blocks=65536, f_bfree=32768, f_bavail=32768,
                    f_files=1024, f_ffree=1000, f_namemax=255)

    # Content -------------------------------------------------------------
    def truncate(self, path, length, fh=None):
        with self.guard:
            if path == CONTROL:
                return
            data = self.files[path]["data"]
            del data[length:]
            data.extend(b"\0" * (length - len(data)))

    def write(self, path, buf, offset, fh):
        with self.guard:
            if path == CONTROL:
                words = bytes(buf).decode().split()
                self.fault = (words[0], int(words[1]) if len(words) > 1 else 0)
                return len(buf)
            data = self.files[path]["data"]
            if offset > len(data):
                data.extend(b"\0" * (offset - len(data)))
            data[offset:offset + len(buf)] = buf
            return len(buf)

    def read(self, path, size, offset, fh):
        with self.guard:
            if path == CONTROL:
                return ("%s %d\n" % self.fault).encode()[offset:offset + size]
            piece = bytearray(self.files[path]["data"][offset:offset + size])
            mode, at = self.fault
        end = offset + len(piece)
        if mode == "eio" and end > at:
            raise FuseOSError(errno.EIO)
        if mode == "zeros" and end > at:
            start = max(at - offset, 0)
            piece[start:] = b"\0" * (len(piece) - start)
        if mode == "flip" and offset <= at < end:
            piece[at - offset] ^= 1
        return bytes(piece)

    def flush(self, path, fh):
        return 0

    def fsync(self, path, datasync, fh):
        return 0

    def release(self, path, fh):
        return 0


if __name__ == "__main__":
    FUSE(FaultyMedium(), sys.argv[1], foreground=True, direct_io=True, allow_other=True, nothreads=False)
