#pragma once
// The frame's pixel loops run in the processor's older vector instructions.
// Where the upper halves of the wide vector registers were left in use (by a
// copy routine of the C library, or by the state the kernel restores after a
// task switch), each of those instructions waits on them: the trace stroke
// and the persistence pass ran at half speed. A loop clears them first; it
// costs one instruction, and a processor without the wide registers has
// nothing to clear.

namespace vector_registers {

void ClearUpperHalves();

}  // namespace vector_registers
