# Shortcuts over CMake.
#   make play   build the game (Release) and start it
#   make test   build everything and run every test
#   make clean  remove the build folders

BUILD_TYPE_PLAY := Release
BUILD_TYPE_TEST := RelWithDebInfo
CMAKE_GENERATOR ?= $(if $(shell command -v ninja),Ninja,Unix Makefiles)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: play build test clean

build:
	cmake -S . -B build/release -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE_PLAY) -DBUILD_TESTING=OFF
	cmake --build build/release --parallel $(JOBS)

play: build
	./build/release/igra

test:
	cmake -S . -B build/test -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE_TEST)
	cmake --build build/test --parallel $(JOBS)
	ctest --test-dir build/test --output-on-failure --parallel $(JOBS)

clean:
	rm -rf build
