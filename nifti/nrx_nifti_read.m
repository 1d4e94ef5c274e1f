% NRX_NIFTI_READ  Read a NIfTI image file.
%
%   V = nrx_nifti_read (filename)
%   [V, M] = nrx_nifti_read (filename)
%
%   filename  a NIfTI-1 or NIfTI-2 file, .nii or gzipped .nii.gz.
%
%   V         the voxel array, first dimension fastest (x, y, z, then
%             further dimensions), in the class of the stored values
%             (uint8, int16, single, ...). When the file gives an intensity
%             scaling other than the identity, V holds the scaled values as
%             double.
%   M         4x4 double voxel-to-world matrix: M * [i; j; k; 1] is the
%             position in millimetres of the voxel with ZERO-based indices
%             i, j, k (V(i+1, j+1, k+1)). It is the file's sform when it has
%             one, otherwise its qform.
%
%   Complex, RGB and 128-bit voxel types are refused.
