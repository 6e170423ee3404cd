#include "data/creatureindex.h"

#include <QFile>
#include <QStringConverter>
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The latest frozen index; readers built while it lives share it.
std::weak_ptr<CreatureIndex> latest;

bool statOf(const QFile& file, struct stat* out)
{
    return file.isOpen() && file.handle() >= 0 && ::fstat(file.handle(), out) == 0;
}

qint64 nanoseconds(const struct timespec& time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

qint64 readAt(int fd, char* buffer, qint64 size, qint64 offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, buffer + done, size_t(size - done), off_t(offset + done));
        if (got <= 0)
            break;
        done += got;
    }
    return done;
}

const char utf8Bom[] = "\xEF\xBB\xBF";

} // namespace

void CreatureIndex::startElement(const QXmlStreamReader& reader, int depth, TagKind kind, bool creature, int id)
{
    // Creatures stand at the second level and nothing else does.
    if (depth == 1 ? kind != TagKind::Fauntome : creature != (depth == 2))
        treeNames = false;
    if (creature) {
        const int ordinal = count();
        entries.push_back(Entry{reader.characterOffset(), id, depth, false});
        byId.emplace_back(id, ordinal);
        open.push_back(ordinal);
        openDepth = depth;
        if (walk == Walk::Searching) {
            walk = Walk::InCreature;
            walkEntry = ordinal;
            walkDepth = depth;
            walkNamed = false;
            return;
        }
    }
    if (walk == Walk::InCreature && kind == TagKind::Name) {
        if (depth != walkDepth + 1)
            treeNames = false;
        walkNamed = true;
        walk = Walk::InName;
        nameDepth = depth;
        nameText.resize(0);
    }
}

void CreatureIndex::endElement(const QXmlStreamReader& reader, int depth)
{
    if (depth + 1 == openDepth) {
        entries[size_t(open.back())].closed = true;
        open.pop_back();
        openDepth = open.empty() ? -1 : entries[size_t(open.back())].depth;
    }
    if (walk == Walk::InName) {
        if (depth < nameDepth) {
            const qsizetype known = byName.size();
            int& first = byName[nameText.toUtf8()];
            if (byName.size() != known)
                first = walkEntry;
            walk = Walk::InCreature;
        }
    } else if (walk == Walk::InCreature && (depth < walkDepth || reader.name() == u"stats")) {
        walk = Walk::Searching;
        // A tree may still find a name the walk never reached.
        if (!walkNamed)
            treeNames = false;
    }
}

void CreatureIndex::nameCharacters(const QXmlStreamReader& reader)
{
    // A tree leaves out text that is only white space.
    if (!reader.isCDATA() && reader.isWhitespace())
        treeNames = false;
    nameText += reader.text();
}

void CreatureIndex::prolog(const QXmlStreamReader& reader, QXmlStreamReader::TokenType token)
{
    if (token == QXmlStreamReader::DTD) {
        // Entities and attribute defaults declared there would be missing
        // from a creature read on its own.
        seekable = false;
        return;
    }
    const QStringView encoding = reader.documentEncoding();
    if (!encoding.isEmpty() && encoding.compare(u"UTF-8", Qt::CaseInsensitive) != 0)
        seekable = false;
}

void CreatureIndex::freeze(const QXmlStreamReader& reader, const QFile& file)
{
    frozen = true;
    complete = !reader.hasError() && reader.tokenType() == QXmlStreamReader::EndDocument;
    endOffset = reader.characterOffset();
    nameText.clear();
    open.clear();
    open.shrink_to_fit();
    std::sort(byId.begin(), byId.end());
    byId.shrink_to_fit();
    entries.shrink_to_fit();
    byName.squeeze();

    struct stat info
    {
    };
    if (!statOf(file, &info)) {
        seekable = false;
        return;
    }
    device = quint64(info.st_dev);
    inode = quint64(info.st_ino);
    size = qint64(info.st_size);
    modifiedNs = nanoseconds(info.st_mtim);

    if (!seekable)
        return;
    char head[4] = {};
    const qint64 got = readAt(file.handle(), head, sizeof head, 0);
    const auto encoding = QStringConverter::encodingForData(QByteArrayView(head, got), u'<');
    if (encoding && *encoding != QStringConverter::Utf8) {
        seekable = false;
        return;
    }
    const qint64 bom = got >= 3 && QByteArrayView(head, 3) == QByteArrayView(utf8Bom, 3) ? 3 : 0;
    // Every byte one character: the offsets need only the byte order mark.
    if (complete && endOffset + bom == size) {
        for (Entry& e : entries)
            e.tagEnd += bom;
        return;
    }
    mapToBytes(file.handle(), bom);
}

// One pass over the raw bytes, turning the character offsets (which skip
// the byte order mark) into byte offsets.
void CreatureIndex::mapToBytes(int fd, qint64 bom)
{
    // Never more than the file holds, and left unfilled: most files are far
    // smaller than a chunk, and this runs once for every reader that sweeps.
    const qint64 chunk = std::clamp<qint64>(size - bom, 1, 1 << 20);
    QByteArray buffer(chunk, Qt::Uninitialized);
    qint64 bufferStart = bom;
    qint64 bufferSize = 0;
    qint64 used = 0;
    qint64 units = 0;
    for (Entry& e : entries) {
        while (units < e.tagEnd) {
            if (used == bufferSize) {
                bufferStart += bufferSize;
                bufferSize = readAt(fd, buffer.data(), chunk, bufferStart);
                used = 0;
                if (bufferSize <= 0) {
                    seekable = false;
                    return;
                }
            }
            // A byte counts at most one unit up to the end of a tag, so this
            // many bytes never pass it.
            const qint64 step = std::min(bufferSize - used, e.tagEnd - units);
            units += unitsOf(buffer.data() + used, step);
            used += step;
        }
        if (units != e.tagEnd) {
            seekable = false;
            return;
        }
        e.tagEnd = bufferStart + used;
    }
}

// No attribute value may hold a '<', so the last one before the end of a
// start tag is where it begins. With none, the top of the file serves: no
// tag read from there ends at that place, which the reader's check sees.
bool CreatureIndex::startOfTag(const QFile& file, int ordinal, qint64* start, qint64* units) const
{
    const qint64 end = entry(ordinal).tagEnd;
    for (qint64 span = 256;; span *= 4) {
        const qint64 begin = std::max<qint64>(0, end - span);
        QByteArray bytes(end - begin, Qt::Uninitialized);
        if (readAt(file.handle(), bytes.data(), bytes.size(), begin) != bytes.size())
            return false;
        const qsizetype at = bytes.lastIndexOf('<');
        if (at >= 0 || begin == 0) {
            *start = begin + std::max<qsizetype>(at, 0);
            *units = unitsOf(bytes.constData() + (*start - begin), end - *start);
            return true;
        }
    }
}

qint64 CreatureIndex::unitsOf(const char* bytes, qint64 size)
{
    qint64 units = 0;
    for (qint64 i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        // Continuation bytes add nothing, a four-byte sequence is a pair of
        // surrogates, and text mode drops carriage returns.
        units += int((c & 0xC0) != 0x80) + int(c >= 0xF0) - int(c == '\r');
    }
    return units;
}

std::shared_ptr<CreatureIndex> CreatureIndex::sharedFor(const QFile& file)
{
    std::shared_ptr<CreatureIndex> index = latest.lock();
    return index && index->describes(file) ? index : nullptr;
}

void CreatureIndex::publish(const std::shared_ptr<CreatureIndex>& index)
{
    latest = index;
}

bool CreatureIndex::describes(const QFile& file) const
{
    struct stat info
    {
    };
    return frozen && statOf(file, &info) && quint64(info.st_dev) == device && quint64(info.st_ino) == inode
        && qint64(info.st_size) == size && nanoseconds(info.st_mtim) == modifiedNs;
}

bool CreatureIndex::sameFile(const QFile& a, const QFile& b)
{
    struct stat first
    {
    };
    struct stat second
    {
    };
    return statOf(a, &first) && statOf(b, &second) && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

int CreatureIndex::firstWithId(int id, int from) const
{
    const auto it = std::lower_bound(byId.begin(), byId.end(), std::make_pair(id, from));
    return it != byId.end() && it->first == id ? it->second : -1;
}

int CreatureIndex::firstNamed(QByteArrayView utf8) const
{
    return byName.value(QByteArray::fromRawData(utf8.data(), utf8.size()), -1);
}

int CreatureIndex::firstInCapitals(const QString& upper) const
{
    if (byCapitals.isEmpty()) {
        byCapitals.reserve(byName.size());
        for (auto it = byName.cbegin(); it != byName.cend(); ++it) {
            const QString key = QString::fromUtf8(it.key()).toUpper();
            const auto known = byCapitals.find(key);
            if (known == byCapitals.end())
                byCapitals.insert(key, it.value());
            else
                *known = std::min(*known, it.value());
        }
    }
    return byCapitals.value(upper, -1);
}
