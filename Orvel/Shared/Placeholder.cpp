// Keeps the shared library non-empty until its first types land.
namespace orvel_shared_detail { [[maybe_unused]] static int unused = 0; }
