// Reading and writing the group and parameter records of the parameter
// section, with the section framing used on save.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "c3d/C3d.h"
#include "c3d/FileStream.h"

namespace {

constexpr int kBlockSize = 512;
// Largest positive record offset, and so the largest record.
constexpr int64_t kMaxRecordBytes = 32767;
// The block count of the section header is one byte.
constexpr int kMaxParamBlocks = 255;

int8_t ReadSigned(CFileStream& file, bool& ok) {
  unsigned char b = 0;
  ok = file.Read(&b, 1) == 1;
  return static_cast<int8_t>(b);
}

// Reads `length` characters. A zero byte ends a name early; a description
// keeps every byte its length covers (`wholeLength`), zero bytes included,
// so that saving writes it back unchanged.
bool ReadText(CFileStream& file, int length, std::string& text, bool wholeLength = false) {
  text.assign(static_cast<size_t>(length), '\0');
  if (length == 0) return true;
  if (file.Read(text.data(), length) != length) return false;
  if (!wholeLength) text.resize(strnlen(text.data(), text.size()));
  return true;
}

// Character values lose the blanks that pad them to their width, nothing
// else: tabs and line ends are part of the value.
std::string StripBlanks(const std::string& text) {
  const char* blanks = " ";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

// The name-length byte and the description length as written: names keep at
// most 127 characters, descriptions at most 255.
std::string NameForFile(const std::string& name) { return name.substr(0, 127); }
std::string DescriptionForFile(const std::string& text) { return text.substr(0, 255); }

// How a character parameter is laid out in its record: the dimensions
// written and the fixed width of each string.
struct CharLayout {
  std::vector<uint8_t> dims;
  size_t width = 0;
  size_t strings = 0;
};

CharLayout LayoutOf(const CParam& param) {
  CharLayout layout;
  if (param.m_dims.empty()) {
    // No dimensions means one element, a single character. A longer text
    // (set by editing) is written with one dimension so that nothing is cut.
    size_t length = param.m_strings.empty() ? 0 : param.m_strings[0].size();
    if (length > 1) {
      layout.dims.push_back(static_cast<uint8_t>(std::min<size_t>(length, 255)));
      layout.width = layout.dims[0];
    } else {
      layout.width = 1;
    }
    layout.strings = 1;
    return layout;
  }
  layout.dims = param.m_dims;
  layout.width = param.m_dims[0];
  layout.strings = 1;
  for (size_t i = 1; i < param.m_dims.size(); ++i) layout.strings *= param.m_dims[i];
  return layout;
}

class CRecordWriter {
 public:
  CRecordWriter(std::vector<unsigned char>& out, int processor) : m_out(out), m_nProcessor(processor) {}

  void Group(const CGroup& group) {
    std::string name = NameForFile(group.m_strName);
    std::string description = DescriptionForFile(group.m_strDescription);
    NameBytes(name, group.m_bLocked, group.m_nId);
    Word(static_cast<int16_t>(description.size() + 3));
    m_out.push_back(static_cast<unsigned char>(description.size()));
    Bytes(description.data(), description.size());
  }

  // Returns false (with `error` set) when the record cannot be represented.
  // `dataPosition` receives the offset in `out` where the values begin.
  bool Param(const CParam& param, size_t& dataPosition, std::string& error) {
    std::string name = NameForFile(param.m_strName);
    std::string description = DescriptionForFile(param.m_strDescription);
    std::vector<uint8_t> dims = param.m_dims;
    CharLayout layout;
    int64_t dataBytes;
    if (param.IsChar()) {
      layout = LayoutOf(param);
      dims = layout.dims;
      dataBytes = static_cast<int64_t>(layout.width * layout.strings);
    } else {
      dataBytes = static_cast<int64_t>(std::abs(param.m_nType)) * param.DimensionProduct();
    }
    int64_t offset = dataBytes + static_cast<int64_t>(dims.size()) +
                     static_cast<int64_t>(description.size()) + 5;
    if (offset > kMaxRecordBytes || dims.size() > 127) {
      error = "The parameter " + param.m_strName +
              " holds too much data to be saved in a C3D file (at most 32767 bytes)";
      return false;
    }
    NameBytes(name, param.m_bLocked, param.m_nGroupId);
    Word(static_cast<int16_t>(offset));
    m_out.push_back(static_cast<unsigned char>(static_cast<int8_t>(param.m_nType)));
    m_out.push_back(static_cast<unsigned char>(dims.size()));
    m_out.insert(m_out.end(), dims.begin(), dims.end());
    dataPosition = m_out.size();
    if (param.IsChar()) {
      for (size_t i = 0; i < layout.strings; ++i) {
        std::string text = i < param.m_strings.size() ? param.m_strings[i] : std::string();
        text.resize(layout.width, ' ');
        Bytes(text.data(), text.size());
      }
    } else {
      int64_t count = param.DimensionProduct();
      for (int64_t i = 0; i < count; ++i) {
        uint32_t cell = i < static_cast<int64_t>(param.m_cells.size())
                            ? param.m_cells[static_cast<size_t>(i)]
                            : 0u;
        Value(param.m_nType, cell);
      }
    }
    m_out.push_back(static_cast<unsigned char>(description.size()));
    Bytes(description.data(), description.size());
    return true;
  }

  void Value(int type, uint32_t cell) {
    switch (type) {
      case PARAM_BYTE: m_out.push_back(static_cast<unsigned char>(cell & 0xff)); break;
      case PARAM_INTEGER: Word(static_cast<int16_t>(static_cast<uint16_t>(cell & 0xffff))); break;
      case PARAM_FLOAT: {
        float f;
        std::memcpy(&f, &cell, 4);
        unsigned char b[4];
        FloatToFile(f, m_nProcessor, b);
        Bytes(b, 4);
        break;
      }
      default:
        // Types outside -1, 1, 2, 4 are dropped on reading; should one be
        // made in memory, its bytes are written as zeros of its size.
        for (int i = 0; i < std::abs(type); ++i) m_out.push_back(0);
        break;
    }
  }

 private:
  void NameBytes(const std::string& name, bool locked, int8_t id) {
    int length = static_cast<int>(name.size());
    m_out.push_back(static_cast<unsigned char>(static_cast<int8_t>(locked ? -length : length)));
    m_out.push_back(static_cast<unsigned char>(id));
    Bytes(name.data(), name.size());
  }
  void Word(int16_t value) {
    unsigned char b[2];
    Int16ToFile(value, m_nProcessor, b);
    Bytes(b, 2);
  }
  void Bytes(const void* data, size_t count) {
    const auto* p = static_cast<const unsigned char*>(data);
    m_out.insert(m_out.end(), p, p + count);
  }

  std::vector<unsigned char>& m_out;
  int m_nProcessor;
};

// Looks at the record at `position` without consuming it: is it a record a
// writer could have made (a valid name, a group id, a known type)? Used only
// for records past the declared end of the section.
bool LooksLikeRecord(CFileStream& file, int64_t position, int processor) {
  unsigned char head[2 + 128 + 3];
  file.Seek(position);
  int64_t got = file.Read(head, sizeof head);
  file.Seek(position);
  if (got < 2) return false;
  int length = static_cast<int8_t>(head[0]);
  int id = static_cast<int8_t>(head[1]);
  length = std::abs(length);
  if (length == 0 || length > 127 || id == 0) return false;
  if (got < 2 + length + 2 + (id > 0 ? 1 : 0)) return false;
  std::string name(reinterpret_cast<const char*>(head + 2), static_cast<size_t>(length));
  if (!IsValidName(name)) return false;
  if (Int16FromFile(head + 2 + length, processor) < 0) return false;
  if (id > 0) {
    int type = static_cast<int8_t>(head[2 + length + 2]);
    if (type != PARAM_CHAR && type != PARAM_BYTE && type != PARAM_INTEGER && type != PARAM_FLOAT)
      return false;
  }
  return true;
}

}  // namespace

void CC3d::ReadParameters(CFileStream& file) {
  m_nParamBlocks = 0;
  int64_t b = static_cast<int64_t>(m_header.m_nParamBlock) - 1;
  int64_t fileLength = file.Length();
  if (b > 0) {
    unsigned char section[4] = {0, 0, 0, 0};
    file.Seek(b * kBlockSize);
    file.Read(section, sizeof section);
    m_nParamBlocks = section[2];
    int64_t end = b + m_nParamBlocks;
    int64_t endPosition = end * kBlockSize;
    int64_t dataPosition = (static_cast<int64_t>(m_header.m_nDataStart) - 1) * kBlockSize;
    // Some writers declare fewer blocks than their records fill. The chain is
    // followed past the declared end while it stays before the data, within
    // the 255 blocks a section can have, and its records look like records.
    int64_t chainLimit = std::min({dataPosition, (b + kMaxParamBlocks) * kBlockSize, fileLength});
    int64_t usedEnd = b * kBlockSize;  // end of the bytes the records consumed

    while (file.Position() < fileLength) {
      int64_t recordStart = file.Position();
      if (recordStart >= endPosition && recordStart > b * kBlockSize + 4 &&
          (recordStart >= chainLimit || !LooksLikeRecord(file, recordStart, m_nProcessor)))
        break;
      bool ok;
      int nameLength = ReadSigned(file, ok);
      if (!ok) break;
      if (nameLength == 0) break;
      int groupId = ReadSigned(file, ok);
      if (!ok) break;
      m_nRecordEnd = recordStart;
      bool more = groupId < 0 ? ReadGroupRecord(file, nameLength, groupId)
                              : ReadParamRecord(file, nameLength, groupId);
      usedEnd = std::max(usedEnd, m_nRecordEnd);
      if (!more) break;
    }

    // Blocks the records really use, when they run past the declared count
    // (without reaching into the data): counting them keeps the gap blocks
    // to what follows the records, so saving cannot strand a record there.
    int64_t usedBlocks = (usedEnd + kBlockSize - 1) / kBlockSize - b;
    if (usedBlocks > m_nParamBlocks && usedEnd <= chainLimit && usedBlocks <= kMaxParamBlocks)
      m_nParamBlocks = static_cast<int32_t>(usedBlocks);
    b += m_nParamBlocks;
  }

  // With the parameters in block 1 (none read), the header block is no gap:
  // such a file is saved with its parameter section in block 2.
  b = std::max<int64_t>(b, 1);
  m_nGapBlocks = 0;
  m_gapBuffer.assign(kBlockSize, 0);
  int64_t gap = static_cast<int64_t>(m_header.m_nDataStart) - b - 1;
  if (gap > 0) {
    m_gapBuffer.assign(static_cast<size_t>(gap * kBlockSize), 0);
    m_nGapBlocks = static_cast<int32_t>(gap);
    file.Seek(b * kBlockSize);
    file.Read(m_gapBuffer.data(), gap * kBlockSize);
  }
}

bool CC3d::ReadGroupRecord(CFileStream& file, int nameLength, int groupId) {
  CGroup group;
  group.m_bLocked = nameLength < 0;
  if (!ReadText(file, std::abs(nameLength), group.m_strName)) return false;
  int64_t offsetPosition = file.Position();
  unsigned char word[2];
  if (file.Read(word, 2) != 2) return false;
  int offset = Int16FromFile(word, m_nProcessor);
  unsigned char descriptionLength = 0;
  if (file.Read(&descriptionLength, 1) != 1) return false;
  if (!ReadText(file, descriptionLength, group.m_strDescription, true)) return false;
  m_nRecordEnd = file.Position();
  file.Seek(offsetPosition + offset);
  if (!group.m_strName.empty()) {
    group.m_nId = static_cast<int8_t>(groupId);
    try {
      m_groups.push_back(std::move(group));
    } catch (const std::bad_alloc&) {
      Prompt().ShowMessage("Not Enough Memory");
      return false;
    }
  }
  return offset >= 0;
}

bool CC3d::ReadParamRecord(CFileStream& file, int nameLength, int groupId) {
  try {
    CParam param;
    param.m_bLocked = nameLength < 0;
    param.m_nGroupId = static_cast<int8_t>(groupId);
    if (!ReadText(file, std::abs(nameLength), param.m_strName)) return false;
    int64_t offsetPosition = file.Position();
    unsigned char word[2];
    if (file.Read(word, 2) != 2) return false;
    int offset = Int16FromFile(word, m_nProcessor);
    if (offset < 0) return false;
    int64_t next = offsetPosition + offset;

    bool ok;
    int type = ReadSigned(file, ok);
    if (!ok) return false;
    int dimCount = ReadSigned(file, ok);
    if (!ok) return false;
    if (dimCount < 0) dimCount = 0;
    param.m_dims.resize(static_cast<size_t>(dimCount));
    if (dimCount > 0 && file.Read(param.m_dims.data(), dimCount) != dimCount) return false;

    // Element and byte counts, kept small enough not to overflow: a record
    // cannot hold more than 32767 bytes, nor a parameter more elements.
    int64_t product = 1;
    for (uint8_t d : param.m_dims) product = std::min<int64_t>(product * d, kMaxRecordBytes + 1);
    int64_t strings = 1;
    for (size_t i = 1; i < param.m_dims.size(); ++i)
      strings = std::min<int64_t>(strings * param.m_dims[i], kMaxRecordBytes + 1);
    int64_t dataBytes = std::abs(type) * product;
    bool knownType =
        type == PARAM_CHAR || type == PARAM_BYTE || type == PARAM_INTEGER || type == PARAM_FLOAT;
    if (!knownType || dataBytes > kMaxRecordBytes || strings > kMaxRecordBytes) {
      // Not a parameter this program can hold: skip it and follow the chain.
      m_nRecordEnd = file.Position();
      file.Seek(next);
      return true;
    }
    param.m_nType = static_cast<int16_t>(type);

    std::vector<unsigned char> data(static_cast<size_t>(dataBytes));
    if (dataBytes > 0 && file.Read(data.data(), dataBytes) != dataBytes) return false;
    if (type == PARAM_CHAR) {
      // A zero byte ends the string it is in, not the ones after it: some
      // writers pad each label with zeros ("A1\0\0A2\0\0"), and every label
      // after the first would be lost.
      const char* text = reinterpret_cast<const char*>(data.data());
      auto entry = [&](size_t from, size_t width) {
        if (from >= data.size()) return std::string();
        width = std::min(width, data.size() - from);
        return StripBlanks(std::string(text + from, strnlen(text + from, width)));
      };
      if (param.m_dims.empty()) {
        param.m_strings.push_back(entry(0, data.size()));
      } else {
        size_t width = param.m_dims[0];
        param.m_strings.reserve(static_cast<size_t>(strings));
        for (int64_t i = 0; i < strings; ++i)
          param.m_strings.push_back(entry(static_cast<size_t>(i) * width, width));
      }
    } else {
      param.m_cells.assign(static_cast<size_t>(product), 0u);
      for (int64_t i = 0; i < product; ++i) {
        const unsigned char* p = data.data() + i * std::abs(type);
        uint32_t cell = 0;
        if (type == PARAM_BYTE) {
          cell = p[0];
        } else if (type == PARAM_INTEGER) {
          cell = static_cast<uint16_t>(Int16FromFile(p, m_nProcessor));
        } else {
          float f = FloatFromFile(p, m_nProcessor);
          std::memcpy(&cell, &f, 4);
        }
        param.m_cells[static_cast<size_t>(i)] = cell;
      }
    }

    unsigned char descriptionLength = 0;
    if (file.Read(&descriptionLength, 1) != 1) return false;
    if (!ReadText(file, descriptionLength, param.m_strDescription, true)) return false;
    m_nRecordEnd = file.Position();
    file.Seek(next);
    m_params.push_back(std::move(param));
    return true;
  } catch (const std::bad_alloc&) {
    Prompt().ShowMessage("Not enough memory");
    return false;
  }
}

bool CC3d::BuildParameterRecords(std::vector<unsigned char>& out, int64_t& dataStartPosition) {
  dataStartPosition = -1;
  int dataStartIndex = FindParameter("Point", "Data_Start");
  CRecordWriter writer(out, m_nProcessor);
  // A record with an empty name would start with a zero byte, which ends the
  // section for every reader: such records are left out.
  for (const CGroup& group : m_groups)
    if (!group.m_strName.empty()) writer.Group(group);
  for (size_t i = 0; i < m_params.size(); ++i) {
    if (m_params[i].m_strName.empty()) continue;
    size_t position = 0;
    std::string error;
    if (!writer.Param(m_params[i], position, error)) {
      Prompt().ShowMessage(error);
      return false;
    }
    if (static_cast<int>(i) == dataStartIndex) dataStartPosition = static_cast<int64_t>(position);
  }
  out.push_back(0);
  return true;
}

bool CC3d::WriteParameters(CFileStream& target) {
  int64_t sectionStart = (static_cast<int64_t>(m_header.m_nParamBlock) - 1) * kBlockSize;
  std::vector<unsigned char> out = {1, 80, 0, static_cast<unsigned char>(kProcessorByteBase + m_nProcessor)};
  int64_t dataStartPosition;
  if (!BuildParameterRecords(out, dataStartPosition)) return false;

  int64_t end = sectionStart + static_cast<int64_t>(out.size());
  int64_t pad = kBlockSize - end % kBlockSize;  // a whole block when aligned
  out.resize(out.size() + static_cast<size_t>(pad), 0);
  int64_t used = end / kBlockSize + 2 - m_header.m_nParamBlock;
  int32_t blocks = std::max<int32_t>(m_nParamBlocks, static_cast<int32_t>(used));
  int64_t dataStart = static_cast<int64_t>(m_header.m_nParamBlock) + m_nGapBlocks + blocks;
  if (blocks > kMaxParamBlocks || dataStart > 0xffff) {
    Prompt().ShowMessage(
        "The parameters do not fit in the 255 blocks a C3D parameter section can have; the file "
        "was not saved");
    return false;
  }
  m_nParamBlocks = blocks;
  out[2] = static_cast<unsigned char>(blocks);

  // POINT:DATA_START carries the new data start in memory and in the record.
  CParam* param = FindParam("Point", "Data_Start");
  if (param && !param->IsChar()) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(dataStart));
    SetValueText("Point", "Data_Start", 0, text);
    if (dataStartPosition >= 0 && param->ElementCount() > 0) {
      std::vector<unsigned char> value;
      CRecordWriter(value, m_nProcessor).Value(param->m_nType, param->m_cells[0]);
      std::memcpy(out.data() + dataStartPosition, value.data(), value.size());
    }
  }

  target.Seek(sectionStart);
  target.Write(out.data(), static_cast<int64_t>(out.size()));

  unsigned char word[2];
  Int16ToFile(static_cast<int16_t>(static_cast<uint16_t>(dataStart)), m_nProcessor, word);
  target.Seek(16);
  target.Write(word, 2);
  m_header.m_nDataStart = static_cast<uint16_t>(dataStart);

  if (m_nGapBlocks > 0) {
    target.Seek((static_cast<int64_t>(m_header.m_nParamBlock) + blocks - 1) * kBlockSize);
    target.Write(m_gapBuffer.data(),
                 std::min<int64_t>(static_cast<int64_t>(m_nGapBlocks) * kBlockSize,
                                   static_cast<int64_t>(m_gapBuffer.size())));
  }
  return !target.Failed();
}

bool CC3d::WriteParameterStream(CFileStream& stream) {
  int blocks = (static_cast<int>(m_header.m_nDataStart) - m_header.m_nParamBlock) & 0xff;
  std::vector<unsigned char> out = {1, 80, static_cast<unsigned char>(blocks),
                                    static_cast<unsigned char>(kProcessorByteBase + m_nProcessor)};
  int64_t dataStartPosition;
  if (!BuildParameterRecords(out, dataStartPosition)) return false;
  size_t rest = out.size() % kBlockSize;
  if (rest != 0) out.resize(out.size() + (kBlockSize - rest), 0);
  stream.Seek(0);
  stream.Write(out.data(), static_cast<int64_t>(out.size()));
  return !stream.Failed();
}
