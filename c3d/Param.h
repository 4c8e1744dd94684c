#pragma once
// Groups and parameters of the parameter section, as held in memory.

#include <cstdint>
#include <string>
#include <vector>

class CIniFile;

// Parameter data types as stored in the type byte.
enum ParamType : int16_t {
  PARAM_CHAR = -1,
  PARAM_BYTE = 1,
  PARAM_INTEGER = 2,
  PARAM_FLOAT = 4,
};

class CGroup {
 public:
  std::string m_strName;
  bool m_bLocked = false;
  int8_t m_nId = 0;  // negative, as in the file
  std::string m_strDescription;
};

// How NumericValue reads byte and 16-bit cells.
enum class ValueSign {
  Default,   // bytes unsigned (0..255), 16-bit signed
  Unsigned,  // bytes and 16-bit values unsigned
  Signed,    // bytes and 16-bit values signed
};

class CParam {
 public:
  std::string m_strName;
  bool m_bLocked = false;
  int8_t m_nGroupId = 0;  // positive: the absolute value of its group's id
  std::string m_strDescription;
  int16_t m_nType = PARAM_BYTE;     // -1, 1, 2 or 4
  std::vector<uint8_t> m_dims;      // dimension sizes, first varies fastest
  // Numeric types: one 4-byte cell per element. A byte value sits in the
  // first byte of its cell, a 16-bit value in the first two bytes (memory
  // order), a float fills the cell.
  std::vector<uint32_t> m_cells;
  // Character type: the strings, stripped of leading and trailing blanks;
  // m_dims[0] is their fixed width in the file.
  std::vector<std::string> m_strings;

  bool IsChar() const { return m_nType == PARAM_CHAR; }
  int DimensionCount() const { return static_cast<int>(m_dims.size()); }
  // Elements: number of cells, or number of strings for the character type.
  int ElementCount() const;
  // Product of the dimensions (1 with none).
  int64_t DimensionProduct() const;
  // Bytes of data the record carries (strings x width for characters).
  int64_t DataBytes() const;
  // "CHAR", "BYTE", "INTEGER", "FLOAT" (empty for an unknown type).
  const char* TypeName() const;

  // One element as a number; 0 when out of range or of character type.
  double NumericValue(int index, ValueSign sign = ValueSign::Default) const;
  // Sets one element; bytes and 16-bit values take the number truncated toward
  // zero and kept to 8 or 16 bits; floats store it as is.
  void SetNumericValue(int index, double value);

  // Raw cell access by type.
  uint8_t ByteAt(int index) const;
  int16_t ShortAt(int index) const;
  float FloatAt(int index) const;
  void SetByteAt(int index, uint8_t value);
  void SetShortAt(int index, int16_t value);
  void SetFloatAt(int index, float value);

  // Resizes the numeric cells or the strings to match the dimensions
  // (new cells zero, new strings empty).
  void ResizeToDimensions();

  // Removes element i of a one-dimensional numeric list or of a
  // two-dimensional character list; any other shape is left unchanged.
  // Returns true when something was removed.
  bool RemoveElement(int index);

  // Compares type and dimensions with the template entry in `section` of
  // `tmpl` (keys "Data", "NumDim", "Dim1".."DimN") and appends the messages
  // of any mismatch.
  void CheckAgainstTemplate(const std::string& section, const CIniFile& tmpl,
                            std::vector<std::string>& messages) const;
};

// Deep copy of a parameter.
void CopyParam(const CParam& source, CParam& target);
// Copy of a group: name, description, id and locked flag.
void CopyGroup(const CGroup& source, CGroup& target);

// Group and parameter names: not empty, a letter first, then letters, digits
// or "_".
bool IsValidName(const std::string& name);

// Case-insensitive comparison of names.
bool NamesEqual(const std::string& a, const std::string& b);
