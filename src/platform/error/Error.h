#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace bryx {

// The one exception type of the library: a number the callers can test and a description
// a user can read. Numbers follow the familiar automation numbering so that handlers can
// react to "no current record" or "item not found" the way desktop code always has.
class Error : public std::exception {
public:
    Error(int number, QString description);
    // The error itself when it is one of ours; otherwise an unexpected error carrying its text.
    static Error from(const std::exception& caught);

    int Number() const noexcept { return m_number; }
    const QString& Description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

namespace ErrorNumber {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int PathFileAccess = 75; // a file that cannot be opened or written
inline constexpr int InvalidPropertyValue = 380; // a property set to a value it cannot take
inline constexpr int ObjectDoesNotSupport = 438;
inline constexpr int Unexpected = 440;
inline constexpr int CannotCreateObject = 429;
inline constexpr int DuplicateKey = 457;
inline constexpr int ElementNotFound = 35601; // no item of a control's keyed list has the key
inline constexpr int InvalidArgument = 3001; // bad arguments or criteria
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int IllegalOperation = 3219;
inline constexpr int FeatureNotAvailable = 3251;
inline constexpr int ItemNotFound = 3265;
inline constexpr int DataConversion = 3421;
inline constexpr int ObjectClosed = 3704;
inline constexpr int ObjectOpen = 3705;
} // namespace ErrorNumber

} // namespace bryx
