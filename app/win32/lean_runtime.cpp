// Smaller stand-ins for two parts of the C++ runtime that Corrivo.exe links statically; the
// linker takes these and leaves the runtime's own out of the program.
//
// - The terminate handler. The runtime's writes the demangled type of the exception to the
//   error stream, which a window program does not have, and brings in the whole demangler and
//   a printf (some 60 KB); this one ends the program the same way, with abort().
// - The standard library's error throws (a string's out_of_range, a vector's length_error, and
//   the like). The runtime's carry their message in a second, reference-counted string type
//   that nothing else in the program uses (some 45 KB). These throw one small type derived from
//   std::exception with the same message. The program catches library errors as
//   std::exception (a step failed) or with catch (...), never by their own type.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

class LibraryError : public std::exception {
 public:
  explicit LibraryError(const char* what) noexcept : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;  // the library passes literals
};

}  // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }
void __throw_logic_error(const char* what) { throw LibraryError(what); }
void __throw_domain_error(const char* what) { throw LibraryError(what); }
void __throw_invalid_argument(const char* what) { throw LibraryError(what); }
void __throw_length_error(const char* what) { throw LibraryError(what); }
void __throw_out_of_range(const char* what) { throw LibraryError(what); }
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_runtime_error(const char* what) { throw LibraryError(what); }
void __throw_range_error(const char* what) { throw LibraryError(what); }
void __throw_overflow_error(const char* what) { throw LibraryError(what); }
void __throw_underflow_error(const char* what) { throw LibraryError(what); }
}  // namespace std
