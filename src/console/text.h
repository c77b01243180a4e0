// Text read from the input, of any length.
#ifndef IGRA_CONSOLE_TEXT_H_
#define IGRA_CONSOLE_TEXT_H_

#include <cstddef>
#include <string_view>

namespace igra::console {

/// A byte string that grows without being copied as it grows: its storage
/// is extended in place where the system can (a name may be gigabytes
/// long), and running out of memory is an answer, not an exception.
class Text {
 public:
  Text() = default;
  ~Text();
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;

  /// Appends `bytes`.  Returns false, leaving the text as it was, when
  /// memory ran out.
  bool Append(std::string_view bytes);

  /// Empties the text and releases its storage.
  void Clear();

  std::string_view View() const { return {data_, size_}; }
  operator std::string_view() const { return View(); }  // NOLINT: a text piece

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace igra::console

#endif  // IGRA_CONSOLE_TEXT_H_
