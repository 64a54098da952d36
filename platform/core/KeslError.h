#pragma once

/// @file
/// The base of the library's exceptions.

#include <stdexcept>
#include <string>

/// Base of every exception the component library raises; it carries only a message.
class EKeslError : public std::runtime_error
{
public:
    /// An error that reads message (what() returns it).
    explicit EKeslError(const std::string &message) : std::runtime_error(message) { }
};
