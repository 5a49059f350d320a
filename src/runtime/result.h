#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace orvane {

// Why something could not be done, in words for the user.
struct Failure {
    std::string reason;
};

// A value, or the failure that left none. Callers must look at it: a
// failure nobody reads is a failure nobody is told.
template <typename T = void> class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }
    T& operator*() { return std::get<0>(state_); }
    const T& operator*() const { return std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }
    T ValueOr(const T& otherwise) const { return Ok() ? std::get<0>(state_) : otherwise; }
    // Empty when there is a value.
    std::string Reason() const { return Ok() ? std::string() : std::get<1>(state_).reason; }

private:
    std::variant<T, Failure> state_;
};

// Something done, or the failure that stopped it.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool Ok() const { return !failure_; }
    explicit operator bool() const { return Ok(); }
    std::string Reason() const { return failure_ ? failure_->reason : std::string(); }

private:
    std::optional<Failure> failure_;
};

} // namespace orvane
