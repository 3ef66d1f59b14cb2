#pragma once
// Same bare name as the widgets' tile: an include of it cannot be traced.
