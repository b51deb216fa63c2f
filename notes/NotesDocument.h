#pragma once

// The notes document reader (pure: file in, rows out).
