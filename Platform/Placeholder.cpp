// Keeps the platform library non-empty until its first types land.
namespace orvel_platform_detail { [[maybe_unused]] static int unused = 0; }
