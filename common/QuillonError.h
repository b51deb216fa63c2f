#pragma once

#include <QString>
#include <exception>
#include <string>

// Error numbers: the classic run-time numbers where one fits, our own for library failures.
namespace ErrNo {
constexpr int InvalidCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int ObjectNotSet = 91;
constexpr int Unknown = 1000;      // a C++ exception that is not ours
constexpr int MediaFailure = 1001; // libmpv
constexpr int XmlFailure = 1002;   // pugixml
constexpr int InputFailure = 1003; // evdev
} // namespace ErrNo

// The one exception type of the program: what a run-time error carries.
class QuillonError : public std::exception {
  public:
    QuillonError(int number, QString description, QString source = {}, int line = 0, QString helpFile = {},
                 int helpContext = 0);

    int Number;
    QString Description;
    QString Source;
    QString HelpFile;
    int HelpContext;
    int Line;

    const char* what() const noexcept override { return m_what.c_str(); }

  private:
    std::string m_what;
};

// Raises a run-time error at the caller's source line (the builtin, not std::source_location, so that
// the clang of the fuzz build compiles it too).
[[noreturn]] void raiseError(int number, const QString& description, int line = __builtin_LINE());

// Error 91, "Object variable or With block variable not set": a reference used while it is unset.
[[noreturn]] void raiseObjectNotSet(int line = __builtin_LINE());
