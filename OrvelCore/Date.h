#pragma once

#include <QDateTime>
#include <compare>
#include <functional>

// A moment in time as seconds since 2001-01-01 00:00:00 UTC, the form the
// stored JSON files carry. The wall clock behind now() can be replaced in tests.
struct Date {
    double secondsSinceReferenceDate = 0;

    static constexpr double referenceUnixSeconds = 978307200.0;
    static Date now();
    static Date distantPast() { return Date{-63114076800.0}; }
    static Date distantFuture() { return Date{63113904000.0}; }
    static Date fromUnixSeconds(double seconds) { return Date{seconds - referenceUnixSeconds}; }

    // Replaces the wall clock and returns the one it replaced; an empty function
    // stands for the system clock.
    static std::function<Date()> setNowProvider(std::function<Date()> provider);

    double unixSeconds() const { return secondsSinceReferenceDate + referenceUnixSeconds; }
    double timeIntervalSince(Date other) const
    {
        return secondsSinceReferenceDate - other.secondsSinceReferenceDate;
    }
    Date addingTimeInterval(double seconds) const { return Date{secondsSinceReferenceDate + seconds}; }
    QDateTime toDateTime() const;

    friend bool operator==(const Date &, const Date &) = default;
    friend auto operator<=>(const Date &, const Date &) = default;
};
