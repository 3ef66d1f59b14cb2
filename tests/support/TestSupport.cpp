// Keeps the support library non-empty while it is being filled.
namespace orvel_test_support_detail {
[[maybe_unused]] static int unused = 0;
}
