#pragma once
// Where a window of a given size is centred along one axis: over the centre of
// [centerStart, centerEnd), kept inside [areaStart, areaEnd). Integer division
// truncates; a start before the area is raised to it, otherwise an end past the
// area is moved back to it.

constexpr int CenteredStart(int centerStart, int centerEnd, int size, int areaStart, int areaEnd) {
    int start = (centerStart + centerEnd) / 2 - size / 2;
    if (start < areaStart)
        start = areaStart;
    else if (start + size > areaEnd)
        start = areaEnd - size;
    return start;
}
