#pragma once
#include <string>

// The loaded drawing written back out as an R12 DXF drawing, which every
// CAD program reads: each figure of the shape tables, in their order and in
// inches, as a POLYLINE of VERTEX entities with the bulges of its arcs. A
// figure that ends where it starts is marked closed and names its start
// point again at its end, so that it reads back the same whatever the Close
// Figure setting; reading the file back gives the same figures.

// The drawing as that text.
std::string r12_text();

// Writes it to `path`, replacing the file whole; "" when done, else why not.
std::string export_r12(const std::string& path);
