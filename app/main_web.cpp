// main_web.cpp: Numerak in a browser starts by loading and showing the game window, then runs
// the page's events until the player quits.
#include "app/identity.hpp"
#include "app/program.hpp"
#include "runtime/language.hpp"
#include "runtime/web/web_runtime.hpp"

int main() {
    numerak::UseLanguage(numerak::ChooseLanguage(numerak::web::browserLanguages()));
    numerak::web::WebRuntime runtime{std::string(numerak::numerakIdentity.AppTitle)};
    return numerak::RunNumerak(runtime, [&] {
        runtime.run();
        return 0;
    });
}
