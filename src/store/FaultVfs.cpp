#include "store/FaultVfs.h"

#include "platform/FaultPoint.h"

#include <cerrno>
#include <cstring>
#include <sqlite3.h>

namespace rawen {

namespace {

constexpr const char *kName = "rawen";

sqlite3_vfs *g_real = nullptr;

// The file as SQLite sees it: our methods in front, the real file right behind.
struct ShimFile
{
    sqlite3_file base;
    const char *path;
    sqlite3_file *real() { return reinterpret_cast<sqlite3_file *>(this + 1); }
};

ShimFile *shim(sqlite3_file *file)
{
    return reinterpret_cast<ShimFile *>(file);
}

// The result SQLite expects for a step the fault point refuses. SQLite asks the system's error
// number right after a failure, so it is left where the real layer would leave it.
int failure(int error, int ioError)
{
    errno = error;
    return error == ENOSPC ? SQLITE_FULL : ioError;
}

int shimClose(sqlite3_file *file)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
}

int shimRead(sqlite3_file *file, void *data, int amount, sqlite3_int64 offset)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xRead(real, data, amount, offset);
}

int shimWrite(sqlite3_file *file, const void *data, int amount, sqlite3_int64 offset)
{
    const char *bytes = static_cast<const char *>(data);
    if (const int error = FaultPoint::beforeWrite(shim(file)->path, bytes, amount))
        return failure(error, SQLITE_IOERR_WRITE);
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xWrite(real, bytes, amount, offset);
}

int shimTruncate(sqlite3_file *file, sqlite3_int64 size)
{
    if (const int error = FaultPoint::before(FileStep::Truncate, shim(file)->path))
        return failure(error, SQLITE_IOERR_TRUNCATE);
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xTruncate(real, size);
}

int shimSync(sqlite3_file *file, int flags)
{
    if (const int error = FaultPoint::before(FileStep::Sync, shim(file)->path))
        return failure(error, SQLITE_IOERR_FSYNC);
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xSync(real, flags);
}

int shimFileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xFileSize(real, size);
}

int shimLock(sqlite3_file *file, int level)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xLock(real, level);
}

int shimUnlock(sqlite3_file *file, int level)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xUnlock(real, level);
}

int shimCheckReservedLock(sqlite3_file *file, int *result)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xCheckReservedLock(real, result);
}

int shimFileControl(sqlite3_file *file, int op, void *argument)
{
    sqlite3_file *real = shim(file)->real();
    if (op == SQLITE_FCNTL_VFSNAME) {
        // SQLite's own answer already names the real layer; ours is in front of it.
        const int rc = real->pMethods->xFileControl(real, op, argument);
        if (rc == SQLITE_OK)
            *static_cast<char **>(argument) =
                sqlite3_mprintf("%s/%z", kName, *static_cast<char **>(argument));
        return rc;
    }
    return real->pMethods->xFileControl(real, op, argument);
}

int shimSectorSize(sqlite3_file *file)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xSectorSize(real);
}

int shimDeviceCharacteristics(sqlite3_file *file)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xDeviceCharacteristics(real);
}

int shimShmMap(sqlite3_file *file, int region, int size, int extend, void volatile **memory)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xShmMap(real, region, size, extend, memory);
}

int shimShmLock(sqlite3_file *file, int offset, int n, int flags)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xShmLock(real, offset, n, flags);
}

void shimShmBarrier(sqlite3_file *file)
{
    sqlite3_file *real = shim(file)->real();
    real->pMethods->xShmBarrier(real);
}

int shimShmUnmap(sqlite3_file *file, int deleteFlag)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xShmUnmap(real, deleteFlag);
}

int shimFetch(sqlite3_file *file, sqlite3_int64 offset, int amount, void **page)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xFetch(real, offset, amount, page);
}

int shimUnfetch(sqlite3_file *file, sqlite3_int64 offset, void *page)
{
    sqlite3_file *real = shim(file)->real();
    return real->pMethods->xUnfetch(real, offset, page);
}

// One table of methods per version the real layer offers, so SQLite never calls a method the
// real file lacks.
sqlite3_io_methods methodsFor(int version)
{
    sqlite3_io_methods m{};
    m.iVersion = version;
    m.xClose = shimClose;
    m.xRead = shimRead;
    m.xWrite = shimWrite;
    m.xTruncate = shimTruncate;
    m.xSync = shimSync;
    m.xFileSize = shimFileSize;
    m.xLock = shimLock;
    m.xUnlock = shimUnlock;
    m.xCheckReservedLock = shimCheckReservedLock;
    m.xFileControl = shimFileControl;
    m.xSectorSize = shimSectorSize;
    m.xDeviceCharacteristics = shimDeviceCharacteristics;
    if (version >= 2) {
        m.xShmMap = shimShmMap;
        m.xShmLock = shimShmLock;
        m.xShmBarrier = shimShmBarrier;
        m.xShmUnmap = shimShmUnmap;
    }
    if (version >= 3) {
        m.xFetch = shimFetch;
        m.xUnfetch = shimUnfetch;
    }
    return m;
}

const sqlite3_io_methods *methodsOfVersion(int version)
{
    static const sqlite3_io_methods v1 = methodsFor(1);
    static const sqlite3_io_methods v2 = methodsFor(2);
    static const sqlite3_io_methods v3 = methodsFor(3);
    return version >= 3 ? &v3 : version == 2 ? &v2 : &v1;
}

int vfsOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    ShimFile *s = shim(file);
    s->base.pMethods = nullptr;
    s->path = name;
    sqlite3_file *real = s->real();
    std::memset(real, 0, size_t(g_real->szOsFile));
    const int rc = g_real->xOpen(g_real, name, real, flags, outFlags);
    if (real->pMethods)
        s->base.pMethods = methodsOfVersion(real->pMethods->iVersion);
    return rc;
}

int vfsDelete(sqlite3_vfs *, const char *name, int syncDirectory)
{
    if (const int error = FaultPoint::before(FileStep::Unlink, name))
        return failure(error, SQLITE_IOERR_DELETE);
    return g_real->xDelete(g_real, name, syncDirectory);
}

int vfsAccess(sqlite3_vfs *, const char *name, int flags, int *result)
{
    return g_real->xAccess(g_real, name, flags, result);
}

int vfsFullPathname(sqlite3_vfs *, const char *name, int size, char *out)
{
    return g_real->xFullPathname(g_real, name, size, out);
}

void *vfsDlOpen(sqlite3_vfs *, const char *name)
{
    return g_real->xDlOpen(g_real, name);
}

void vfsDlError(sqlite3_vfs *, int size, char *message)
{
    g_real->xDlError(g_real, size, message);
}

void (*vfsDlSym(sqlite3_vfs *, void *handle, const char *symbol))(void)
{
    return g_real->xDlSym(g_real, handle, symbol);
}

void vfsDlClose(sqlite3_vfs *, void *handle)
{
    g_real->xDlClose(g_real, handle);
}

int vfsRandomness(sqlite3_vfs *, int size, char *out)
{
    return g_real->xRandomness(g_real, size, out);
}

int vfsSleep(sqlite3_vfs *, int microseconds)
{
    return g_real->xSleep(g_real, microseconds);
}

int vfsCurrentTime(sqlite3_vfs *, double *now)
{
    return g_real->xCurrentTime(g_real, now);
}

int vfsGetLastError(sqlite3_vfs *, int size, char *message)
{
    return g_real->xGetLastError ? g_real->xGetLastError(g_real, size, message) : 0;
}

int vfsCurrentTimeInt64(sqlite3_vfs *, sqlite3_int64 *now)
{
    return g_real->xCurrentTimeInt64(g_real, now);
}

sqlite3_vfs *makeVfs()
{
    g_real = sqlite3_vfs_find(nullptr);
    static sqlite3_vfs vfs{};
    vfs.iVersion = g_real->iVersion >= 2 ? 2 : 1;
    vfs.szOsFile = int(sizeof(ShimFile)) + g_real->szOsFile;
    vfs.mxPathname = g_real->mxPathname;
    vfs.zName = kName;
    vfs.xOpen = vfsOpen;
    vfs.xDelete = vfsDelete;
    vfs.xAccess = vfsAccess;
    vfs.xFullPathname = vfsFullPathname;
    vfs.xDlOpen = vfsDlOpen;
    vfs.xDlError = vfsDlError;
    vfs.xDlSym = vfsDlSym;
    vfs.xDlClose = vfsDlClose;
    vfs.xRandomness = vfsRandomness;
    vfs.xSleep = vfsSleep;
    vfs.xCurrentTime = vfsCurrentTime;
    vfs.xGetLastError = vfsGetLastError;
    if (vfs.iVersion >= 2)
        vfs.xCurrentTimeInt64 = vfsCurrentTimeInt64;
    sqlite3_vfs_register(&vfs, 0);
    return &vfs;
}

} // namespace

const char *faultVfsName()
{
    static const sqlite3_vfs *vfs = makeVfs();
    return vfs->zName;
}

} // namespace rawen
