% NRX_MORPHOLOGY  Grey-level dilation or erosion with a weighted kernel.
%
%   out = nrx_morphology(ima, kernel, function)
%
%   ima       double, 2-D or 3-D image.
%   kernel    double with as many dimensions as ima, any size: the weights;
%             elements equal to 0 are outside the structuring element. Its
%             centre is element floor(size/2) + 1 along each dimension (the
%             upper middle one for even sizes).
%   function  "dilate" or "erode".
%
%   out       double, the size of ima: at each voxel the maximum (dilate) or
%             minimum (erode) of the voxel's own value and of weight times
%             image value over the kernel's neighbourhood; neighbours outside
%             the image are ignored. In dilation a NaN product replaces the
%             running value and a later product replaces a NaN; in erosion a
%             NaN product is never taken.
