# Shortcuts over CMake.
#   make play           build the game (Release) and start it
#   make test           build everything and run every test
#   make test-aarch64   the same for Linux on ARM64, run under qemu-aarch64
#   make test-windows   the same for Windows x64, run under wine
#   make clean          remove the build folders

CMAKE_GENERATOR ?= $(if $(shell command -v ninja),Ninja,Unix Makefiles)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Configures, builds and tests one build folder: $(1) folder, $(2) options.
define build_and_test
	cmake -S . -B $(1) -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo $(2)
	cmake --build $(1) --parallel $(JOBS)
	ctest --test-dir $(1) --output-on-failure --parallel $(JOBS)
endef

.PHONY: play build test test-aarch64 test-windows clean

build:
	cmake -S . -B build/release -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/release --parallel $(JOBS)

play: build
	./build/release/igra

test:
	$(call build_and_test,build/test,)

test-aarch64:
	$(call build_and_test,build/aarch64,-DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake)

# WINEDEBUG=-all keeps wine's own diagnostics off standard error.
test-windows: export WINEDEBUG = -all
test-windows:
	$(call build_and_test,build/windows,-DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake)

clean:
	rm -rf build
