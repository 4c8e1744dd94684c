#pragma once
// An output stream that puts a prefix ("walk.c3d: ") before every line it
// passes on to another stream. Lines are passed on whole, so that what one
// file reports reads as one block in a log.

#include <ostream>
#include <streambuf>
#include <string>

class CLinePrefixBuf : public std::streambuf {
 public:
  CLinePrefixBuf(std::ostream& target, std::string prefix)
      : m_target(target), m_strPrefix(std::move(prefix)) {}
  ~CLinePrefixBuf() override { FlushLine(); }

 protected:
  int_type overflow(int_type ch) override {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    m_strLine += traits_type::to_char_type(ch);
    if (ch == '\n') WriteLine();
    return ch;
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    for (std::streamsize i = 0; i < count; ++i) overflow(traits_type::to_int_type(text[i]));
    return count;
  }
  int sync() override {
    m_target.flush();
    return 0;
  }

 private:
  void WriteLine() {
    m_target << m_strPrefix << m_strLine;
    m_strLine.clear();
  }
  // A last line without its line feed gets one.
  void FlushLine() {
    if (m_strLine.empty()) return;
    m_strLine += '\n';
    WriteLine();
    m_target.flush();
  }

  std::ostream& m_target;
  std::string m_strPrefix;
  std::string m_strLine;
};

class CLinePrefixStream : public std::ostream {
 public:
  CLinePrefixStream(std::ostream& target, std::string prefix)
      : std::ostream(nullptr), m_buf(target, std::move(prefix)) {
    rdbuf(&m_buf);
  }

 private:
  CLinePrefixBuf m_buf;
};
