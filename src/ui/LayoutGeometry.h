#pragma once
// Plain geometry for the window layouts: integer pixels, no toolkit types, so
// the formulas can be checked without a window.

struct LayoutPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const LayoutPoint&, const LayoutPoint&) = default;
};

struct LayoutSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const LayoutSize&, const LayoutSize&) = default;
};

struct LayoutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// Half of a length: the integer quotient by 2, truncated toward zero (half of -5 is -2).
constexpr int HalfOf(int x) { return x / 2; }
