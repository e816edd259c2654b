#pragma once

#include <stdexcept>
#include <string>

// The program's I/O error: raised by every record-file failure. It carries the
// system's error code (errno, or EIO for a record that could not be read whole)
// and a message that names the file.
class EInOutError : public std::runtime_error {
public:
    EInOutError(int errorCode, const std::string& message)
        : std::runtime_error(message), errorCode_(errorCode) {}

    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};
