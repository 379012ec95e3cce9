#pragma once

// Reads the cells of a workbook back for the export tests: an .xlsx file is a zip
// archive of XML parts; the parts are inflated with zlib and the sheet XML is read
// cell by cell (shared, inline and numeric cells).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <zlib.h>

namespace kumby::gui::testing {

class TZipReader {
public:
    explicit TZipReader(std::string bytes) : Bytes_(std::move(bytes)) {
        // The end of central directory record: 22 bytes plus a comment of up to 64K.
        const std::size_t size = Bytes_.size();
        if (size < 22)
            throw std::runtime_error("not a zip archive");
        std::size_t eocd = size - 22;
        while (U32(eocd) != 0x06054b50) {
            if (eocd == 0 || size - eocd > 22 + 65535)
                throw std::runtime_error("not a zip archive");
            --eocd;
        }
        const std::size_t entries = U16(eocd + 10);
        std::size_t at = U32(eocd + 16);
        for (std::size_t e = 0; e < entries; ++e) {
            if (U32(at) != 0x02014b50)
                throw std::runtime_error("damaged central directory");
            TEntry entry;
            entry.Method = U16(at + 10);
            entry.Compressed = U32(at + 20);
            entry.Size = U32(at + 24);
            const std::size_t nameLength = U16(at + 28);
            const std::size_t extraLength = U16(at + 30);
            const std::size_t commentLength = U16(at + 32);
            entry.LocalHeader = U32(at + 42);
            Entries_[Bytes_.substr(at + 46, nameLength)] = entry;
            at += 46 + nameLength + extraLength + commentLength;
        }
    }

    bool Has(const std::string& name) const { return Entries_.count(name) > 0; }

    QByteArray Read(const std::string& name) const {
        const auto it = Entries_.find(name);
        if (it == Entries_.end())
            throw std::runtime_error("no part " + name);
        const TEntry& e = it->second;
        const std::size_t data = e.LocalHeader + 30 + U16(e.LocalHeader + 26) + U16(e.LocalHeader + 28);
        if (e.Method == 0)
            return QByteArray(Bytes_.data() + data, static_cast<qsizetype>(e.Size));
        if (e.Method != 8)
            throw std::runtime_error("unknown compression method");
        QByteArray out(static_cast<qsizetype>(e.Size), '\0');
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            throw std::runtime_error("inflateInit2");
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Bytes_.data() + data));
        z.avail_in = static_cast<uInt>(e.Compressed);
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        const int result = inflate(&z, Z_FINISH);
        inflateEnd(&z);
        if (result != Z_STREAM_END || z.total_out != e.Size)
            throw std::runtime_error("damaged part " + name);
        return out;
    }

private:
    struct TEntry {
        std::size_t Method = 0, Compressed = 0, Size = 0, LocalHeader = 0;
    };
    uint32_t U16(std::size_t at) const {
        return static_cast<uint8_t>(Bytes_.at(at)) | static_cast<uint8_t>(Bytes_.at(at + 1)) << 8;
    }
    uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }

    std::string Bytes_;
    std::map<std::string, TEntry> Entries_;
};

// The shared strings of a workbook, in their order.
inline QStringList SharedStrings(const TZipReader& book) {
    QStringList strings;
    if (!book.Has("xl/sharedStrings.xml"))
        return strings;
    QXmlStreamReader xml(book.Read("xl/sharedStrings.xml"));
    QString current;
    bool inItem = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si")) {
            inItem = true;
            current.clear();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("t") && inItem) {
            current += xml.readElementText();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("si")) {
            strings.push_back(current);
            inItem = false;
        }
    }
    return strings;
}

// Calls `cell` with the reference ("B7") and the text of every cell of a sheet part
// that has a value; numbers as written ("5", "1048574").
inline void ForEachCell(const TZipReader& book, const std::string& sheet, const QStringList& shared,
                        const std::function<void(const QString& ref, const QString& value)>& cell) {
    QXmlStreamReader xml(book.Read(sheet));
    QString ref, type, value;
    bool inCell = false, hasValue = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("c")) {
                inCell = true;
                hasValue = false;
                ref = xml.attributes().value(QLatin1String("r")).toString();
                type = xml.attributes().value(QLatin1String("t")).toString();
                value.clear();
            } else if (inCell && xml.name() == QLatin1String("v")) {
                value = xml.readElementText();
                hasValue = true;
                if (type == QLatin1String("s"))
                    value = shared.value(value.toInt());
            } else if (inCell && xml.name() == QLatin1String("t")) {
                value += xml.readElementText();
                hasValue = true;
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
            if (hasValue)
                cell(ref, value);
            inCell = false;
        }
    }
    if (xml.hasError())
        throw std::runtime_error("damaged sheet " + sheet + ": " + xml.errorString().toStdString());
}

inline std::map<QString, QString> SheetCells(const TZipReader& book, const std::string& sheet) {
    std::map<QString, QString> cells;
    ForEachCell(book, sheet, SharedStrings(book),
                [&](const QString& ref, const QString& value) { cells[ref] = value; });
    return cells;
}

} // namespace kumby::gui::testing
