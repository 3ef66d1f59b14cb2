#pragma once
// The app's dialog: only the app may include it.
