#pragma once

// Hands the heap's free pages back to the system. glibc keeps memory a closed
// window freed mapped for later reuse, so without this a window opened once
// would go on counting in the process's resident memory all day.
void returnFreedMemory();
