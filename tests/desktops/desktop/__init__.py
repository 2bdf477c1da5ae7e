"""The desktop checks behind `make desktops`: Tallyglow in real panels, headless."""
