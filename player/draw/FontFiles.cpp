#include "player/draw/FontFiles.h"

#include <harfbuzz/hb.h>

#include <map>
#include <mutex>
#include <sys/stat.h>
#include <utility>

namespace plotara::player {

namespace {

// What identifies the contents of a file as it was mapped.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

struct Entry {
    FileStamp stamp;
    hb_face_t* face = nullptr; // the cache's own reference
};

// The faces opened so far. HarfBuzz faces are reference-counted and, once immutable, safe to
// share between threads; the map itself is guarded by the mutex. Destroyed at exit, which drops
// only the cache's references: an engine still alive keeps its own.
class FaceCache {
public:
    ~FaceCache() {
        for (auto& [key, entry] : faces_)
            hb_face_destroy(entry.face);
    }

    hb_face_t* face(const std::string& path, int index) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
        const FileStamp stamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
        const std::lock_guard<std::mutex> lock(mutex_);
        Entry& entry = faces_[{path, index}];
        if (entry.face && entry.stamp == stamp) return hb_face_reference(entry.face);
        hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
        hb_face_t* face = blob ? hb_face_create(blob, static_cast<unsigned>(index)) : nullptr;
        hb_blob_destroy(blob);
        if (!face || hb_face_get_glyph_count(face) == 0) {
            hb_face_destroy(face);
            return nullptr; // a stale entry stays until the file is readable again
        }
        hb_face_make_immutable(face);
        hb_face_destroy(entry.face);
        entry = {stamp, face};
        return hb_face_reference(face);
    }

private:
    std::mutex mutex_;
    std::map<std::pair<std::string, int>, Entry> faces_;
};

} // namespace

hb_face_t* sharedFontFace(const std::string& path, int index) {
    static FaceCache cache;
    return cache.face(path, index);
}

} // namespace plotara::player
