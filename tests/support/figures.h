#pragma once
#include <vector>

// Builds drawings straight into the shape tables, laid out as the reader lays
// them out, for tests that do not need a DXF file.
struct Vertex {
    float x, y;
    bool arc_to_next = false;  // the element from here to the next vertex is an arc
    float mx = 0, my = 0;      // ... through this middle point
};

// Each figure is a chain of vertices; an element joins each vertex to the next.
// The terminator after each figure holds its last vertex, as when the reader
// did not have to close it. Selects figure 1.
void load_figures(const std::vector<std::vector<Vertex>>& figures);

// A rectangle as a closed chain of five vertices, counter-clockwise from (x, y).
std::vector<Vertex> rectangle(float x, float y, float width, float height);
