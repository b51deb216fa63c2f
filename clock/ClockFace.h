#pragma once

// The digit clock's pure logic.
