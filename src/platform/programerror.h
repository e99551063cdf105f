#pragma once

#include <QString>
#include <exception>

// An error raised by a procedure or an outside object: a number and a description, the way the
// program's message boxes report them. A lasting error outlasts the record that met it: the shop
// database cannot take writes for now (read-only, full, locked beyond the wait, out of reach).
class ProgramError : public std::exception {
public:
    ProgramError(int number, QString description, bool lasting = false)
        : number_(number), description_(std::move(description)), lasting_(lasting) {}

    int number() const { return number_; }
    const QString& description() const { return description_; }
    bool lasting() const { return lasting_; }
    const char* what() const noexcept override { return "ProgramError"; }

private:
    int number_;
    QString description_;
    bool lasting_;
};

// The error numbers that the program raises, in the numbering its messages have always used.
namespace errnum {
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIoError = 57;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int ItemNotFound = 3265;
// What the database driver reports; its description is the driver's own text.
inline constexpr int DatabaseError = -2147467259;
}  // namespace errnum

// The text of an error message box: the procedure's prefix, the number, "-" and the description.
inline QString errorText(const QString& prefix, const ProgramError& error) {
    return prefix + QString::number(error.number()) + QLatin1Char('-') + error.description();
}

// The same with " - " between number and description, as a few procedures write it.
inline QString errorTextSpaced(const QString& prefix, const ProgramError& error) {
    return prefix + QString::number(error.number()) + QLatin1String(" - ") + error.description();
}

// The error of a field or column asked for by a name that the row does not have.
inline ProgramError itemNotFoundError() {
    return ProgramError(errnum::ItemNotFound,
                        QStringLiteral("Item cannot be found in the collection corresponding to the "
                                       "requested name or ordinal."));
}
