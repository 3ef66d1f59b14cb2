#pragma once

// Points, sizes and rectangles in screen points with y growing upward (origin at
// the bottom left of the primary display), so a rectangle's maxY is its top edge.
// They mean what CoreGraphics' CGPoint/CGSize/CGRect mean; Platform converts to
// Qt's y-down coordinates only where a window is placed.

struct Point {
    double x = 0;
    double y = 0;

    friend bool operator==(const Point &, const Point &) = default;
};

struct Size {
    double width = 0;
    double height = 0;

    friend bool operator==(const Size &, const Size &) = default;
};

struct Rect {
    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(Point origin_, Size size_)
        : origin(origin_)
        , size(size_)
    {
    }
    constexpr Rect(double x, double y, double width, double height)
        : origin{x, y}
        , size{width, height}
    {
    }

    // Like CGRect, a negative size extends the rectangle to the left or below
    // its origin; these accessors answer for the standardized rectangle.
    double minX() const;
    double midX() const;
    double maxX() const;
    double minY() const;
    double midY() const;
    double maxY() const;
    double width() const;
    double height() const;
    bool isEmpty() const { return width() == 0 || height() == 0; }

    // The same area with a non-negative size.
    Rect standardized() const;
    // Moves each edge inward by dx (left, right) and dy (bottom, top); negative
    // values grow the rectangle. An axis that would turn negative collapses to
    // zero length at its middle rather than to CGRect's null rectangle, so
    // callers never meet infinite coordinates.
    Rect insetBy(double dx, double dy) const;
    Rect offsetBy(double dx, double dy) const;
    // True when the two share an area of positive size.
    bool intersects(const Rect &other) const;
    // Half-open on the max edges, as CGRectContainsPoint.
    bool contains(Point point) const;
    bool contains(const Rect &other) const;

    friend bool operator==(const Rect &, const Rect &) = default;
};
