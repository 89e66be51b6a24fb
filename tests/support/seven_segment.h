// Seven-segment digits, as a serial number on a label: a few boxes per digit, the kind of small change
// from label to label that a label job makes.
#pragma once

// Draws the four digits of number (0..9999) with their top left corner at (left, top), `height` rows
// tall, by calling box(left, top, right, bottom) for every segment.
template <class Box> void SevenSegmentNumber(int number, long left, long top, long height, Box box) {
    static const int kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const long w = height / 2;
    const long t = height / 10 + 1;
    for (int digit = 1000; digit >= 1; digit /= 10, left += w + 2 * t) {
        const int s = kSegments[(number / digit) % 10];
        const long mid = top + height / 2;
        if (s & 0x01)
            box(left, top, left + w, top + t);
        if (s & 0x02)
            box(left + w - t, top, left + w, mid);
        if (s & 0x04)
            box(left + w - t, mid, left + w, top + height);
        if (s & 0x08)
            box(left, top + height - t, left + w, top + height);
        if (s & 0x10)
            box(left, mid, left + t, top + height);
        if (s & 0x20)
            box(left, top, left + t, mid);
        if (s & 0x40)
            box(left, mid - t / 2, left + w, mid + t / 2 + 1);
    }
}
