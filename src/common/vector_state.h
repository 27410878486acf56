#pragma once

namespace qv {

// Clears the upper halves of the processor's 256-bit vector registers.
//
// Qt's string hashing (every QHash<QString, ...> lookup) runs 256-bit vector
// code on processors that have it and returns with those halves still in use.
// Until something clears them, every SSE instruction of code built for plain
// x86-64, the database engine included, waits on the halves it does not use:
// the engine's row copies run up to 70% slower. Called before the engine
// prepares or runs a statement; it costs a cycle, and nothing where the
// processor has no such registers.
void clearUpperVectorState();

} // namespace qv
