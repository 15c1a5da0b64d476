#include "accessgrande.h"

#include <QFile>

#include <mdbtools.h>

#include <strings.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace brenzola::bench {

namespace {

// Flags in a data page's row offsets.
constexpr std::uint16_t kLookupRow = 0x8000;
constexpr std::uint16_t kDeletedRow = 0x4000;

std::uint32_t read32(const QByteArray& bytes, qsizetype at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.constData() + at, 4);
    return value;
}
std::uint16_t read16(const QByteArray& bytes, qsizetype at)
{
    std::uint16_t value = 0;
    std::memcpy(&value, bytes.constData() + at, 2);
    return value;
}
void write32(QByteArray& bytes, qsizetype at, std::uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); }

qint64 failed(const char* why)
{
    std::fprintf(stderr, "creaAccessGrande: %s\n", why);
    return -1;
}

// What libmdb knows of the table: its definition page, where its key sits in a row, the
// page format. The file's bytes are changed by hand from there.
struct Layout {
    std::uint32_t tablePage = 0;
    int keyOffset = -1;  // of the key's value from a row's start
    int pageSize = 0;
    int rowCountOffset = 0;
    int numRowsOffset = 0;
    int usageMapOffset = 0;
    qint64 rows = 0;
};

bool readLayout(const QString& fixture, Layout& layout)
{
    MdbHandle* mdb = mdb_open(QFile::encodeName(fixture).constData(), MDB_NOFLAGS);
    if (!mdb || mdb->f->jet_version != MDB_VER_JET4 || !mdb_read_catalog(mdb, MDB_TABLE)) return false;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (strcasecmp(entry->object_name, "Anagrafica") != 0) continue;
        MdbTableDef* table = mdb_read_table(entry);
        if (!table || !mdb_read_columns(table)) break;
        layout.tablePage = std::uint32_t(entry->table_pg);
        layout.rows = qint64(table->num_rows);
        for (unsigned c = 0; c < table->num_cols; ++c) {
            auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
            if (strcasecmp(column->name, "id") == 0 && column->is_fixed) layout.keyOffset = 2 + column->fixed_offset;
        }
        layout.pageSize = int(mdb->fmt->pg_size);
        layout.rowCountOffset = mdb->fmt->row_count_offset;
        layout.numRowsOffset = mdb->fmt->tab_num_rows_offset;
        layout.usageMapOffset = mdb->fmt->tab_usage_map_offset;
        mdb_free_tabledef(table);
        break;
    }
    mdb_close(mdb);
    return layout.tablePage != 0 && layout.keyOffset >= 0;
}

}  // namespace

qint64 creaAccessGrande(const QString& fixture, const QString& output, int copies)
{
    Layout layout;
    if (!readLayout(fixture, layout)) return failed("the fixture's table cannot be read");
    QFile in(fixture);
    if (!in.open(QIODevice::ReadOnly)) return failed("the fixture cannot be opened");
    QByteArray file = in.readAll();
    const int page = layout.pageSize;
    const qsizetype pages = file.size() / page;

    std::vector<qsizetype> dataPages;
    std::int32_t largestKey = 0;
    for (qsizetype p = 0; p < pages; ++p) {
        const qsizetype at = p * page;
        if (file[at] != 0x01 || read32(file, at + 4) != layout.tablePage) continue;
        dataPages.push_back(p);
        const int rows = read16(file, at + layout.rowCountOffset);
        for (int r = 0; r < rows; ++r) {
            const std::uint16_t offset = read16(file, at + layout.rowCountOffset + 2 + 2 * r);
            if (offset & kDeletedRow) continue;
            if (offset & kLookupRow) return failed("a row continues on another page");
            largestKey = std::max(largestKey, std::int32_t(read32(file, at + (offset & 0x1fff) + layout.keyOffset)));
        }
    }
    if (dataPages.empty()) return failed("no data pages");

    // The copies, each with its keys moved on.
    std::vector<qsizetype> allPages = dataPages;
    for (int copy = 1; copy < copies; ++copy) {
        for (const qsizetype p : dataPages) {
            QByteArray bytes = file.mid(p * page, page);
            const int rows = read16(bytes, layout.rowCountOffset);
            for (int r = 0; r < rows; ++r) {
                const std::uint16_t offset = read16(bytes, layout.rowCountOffset + 2 + 2 * r);
                if (offset & kDeletedRow) continue;
                const qsizetype key = (offset & 0x1fff) + layout.keyOffset;
                write32(bytes, key, read32(bytes, key) + std::uint32_t(copy) * std::uint32_t(largestKey + 1));
            }
            allPages.push_back(file.size() / page);
            file += bytes;
        }
    }

    // One bitmap page for the table's pages, and the table's page map pointing at it
    // (a map of the second kind: a list of bitmap pages).
    QByteArray bitmap(page, '\0');
    bitmap[0] = 0x05;
    for (const qsizetype p : allPages) {
        if (p >= qsizetype(page - 4) * 8) return failed("too many pages for one bitmap");
        bitmap[4 + p / 8] = char(bitmap[4 + p / 8] | (1 << (p % 8)));
    }
    const std::uint32_t bitmapPage = std::uint32_t(file.size() / page);
    file += bitmap;

    const qsizetype definition = qsizetype(layout.tablePage) * page;
    const std::uint32_t mapRow = read32(file, definition + layout.usageMapOffset);
    const qsizetype mapPage = qsizetype(mapRow >> 8) * page;
    const int row = int(mapRow & 0xff);
    const int start = read16(file, mapPage + layout.rowCountOffset + 2 + 2 * row) & 0x1fff;
    const int end = row == 0 ? page : read16(file, mapPage + layout.rowCountOffset + 2 * row) & 0x1fff;
    if (end - start < 5) return failed("the page map is too small");
    file.replace(mapPage + start, end - start, QByteArray(end - start, '\0'));
    file[mapPage + start] = 0x01;
    write32(file, mapPage + start + 1, bitmapPage);

    const qint64 rows = layout.rows * copies;
    write32(file, definition + layout.numRowsOffset, std::uint32_t(rows));

    QFile out(output);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size()) return failed("the output cannot be written");
    return rows;
}

}  // namespace brenzola::bench
