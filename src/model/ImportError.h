#pragma once

#include <QString>
#include <stdexcept>

// The one failure the file layer and pack import throw: a sentence a person can read.
class ImportError : public std::runtime_error {
public:
    explicit ImportError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) { }
    const QString& message() const { return message_; }

private:
    QString message_;
};
