#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <optional>

// Finds the structure of a state file without building it: where the two history arrays lie in
// the top-level object, and where each of their elements begins and ends. It checks only what
// it needs to find them; the JSON parser still judges every byte (the rest of the file as one
// small document, and each element either in the writer's own compact form or as JSON), so a
// file is accepted exactly when the parser would accept it whole.
namespace StateFileScan {

struct Split {
    // The file with each history array replaced by an empty one.
    QByteArray rest;
    // The text of the "drinks" and "breakHistory" arrays, brackets included, when present.
    std::optional<QByteArrayView> drinks;
    std::optional<QByteArrayView> breakHistory;
};

// None when the file is not a plain top-level object whose keys are written without escapes
// and appear once each; such files are left to the JSON parser whole.
std::optional<Split> split(QByteArrayView file);

// Calls `take` with the text of each element of `array`, in order; false when the text is not
// an array of comma-separated values (`take` may then have seen some of them).
bool forEachElement(QByteArrayView array, const std::function<bool(QByteArrayView)>& take);

}  // namespace StateFileScan
