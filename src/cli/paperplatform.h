#pragma once

// The platform on which vetral-cli draws pages: one that needs no display.
namespace PaperPlatform {

// Called before the QGuiApplication is made.
void prepare();

} // namespace PaperPlatform
