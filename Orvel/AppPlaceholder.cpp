// Keeps the app library non-empty until its first types land.
namespace orvel_app_detail { [[maybe_unused]] static int unused = 0; }
